#include "fileerror.h"

#include "dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>

int FileErrorNumber(int err, const QString &path)
{
    switch (err) {
    case ENOENT:
        if (!path.isEmpty() && !QFileInfo(path).absoluteDir().exists())
            return FileError::PathNotFound;
        return FileError::FileNotFound;
    case ENOTDIR:
        return FileError::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ELOOP: // a link where a file was expected: never followed
        return FileError::BadFileMode;
    case EBUSY:
    case ETXTBSY:
        return FileError::FileAlreadyOpen;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EEXIST:
        return FileError::FileAlreadyExists;
    case ENAMETOOLONG:
    case EILSEQ:
    case EINVAL:
        return FileError::BadFileName;
    case EMFILE:
    case ENFILE:
        return FileError::TooManyFiles;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return FileError::DeviceUnavailable;
    default:
        return FileError::PathFileAccessError;
    }
}

QString FileErrorDescription(int number)
{
    switch (number) {
    case FileError::BadFileNameOrNumber:
        return QCoreApplication::translate("FileError", "Bad file name or number");
    case FileError::FileNotFound:
        return QCoreApplication::translate("FileError", "File not found");
    case FileError::BadFileMode:
        return QCoreApplication::translate("FileError", "Bad file mode");
    case FileError::FileAlreadyOpen:
        return QCoreApplication::translate("FileError", "File already open");
    case FileError::DiskFull:
        return QCoreApplication::translate("FileError", "Disk full");
    case FileError::FileAlreadyExists:
        return QCoreApplication::translate("FileError", "File already exists");
    case FileError::InputPastEndOfFile:
        return QCoreApplication::translate("FileError", "Input past end of file");
    case FileError::BadFileName:
        return QCoreApplication::translate("FileError", "Bad file name");
    case FileError::TooManyFiles:
        return QCoreApplication::translate("FileError", "Too many files");
    case FileError::DeviceUnavailable:
        return QCoreApplication::translate("FileError", "Device unavailable");
    case FileError::DiskNotReady:
        return QCoreApplication::translate("FileError", "Disk not ready");
    case FileError::PathFileAccessError:
        return QCoreApplication::translate("FileError", "Path/File access error");
    case FileError::PathNotFound:
        return QCoreApplication::translate("FileError", "Path not found");
    default:
        return QCoreApplication::translate("FileError", "File error");
    }
}

FileErrorAnswer FileErrorMessage(int errorNumber, Dialogs &dialogs)
{
    QString text;
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    switch (errorNumber) {
    case FileError::BadFileNameOrNumber:
    case FileError::BadFileName:
        text = QCoreApplication::translate("FileError", "That filename is illegal.");
        break;
    case FileError::BadFileMode:
        text = QCoreApplication::translate("FileError",
                                           "Can't open your file for that type of access.");
        break;
    case FileError::FileAlreadyOpen:
        text = QCoreApplication::translate("FileError", "That file is already open.");
        break;
    case FileError::DiskFull:
        text = QCoreApplication::translate("FileError", "The disk is full.");
        break;
    case FileError::InputPastEndOfFile:
        text = QCoreApplication::translate("FileError",
                                           "This file has a nonstandard end-of-file marker,"
                                           "or an attempt was made to read beyond "
                                           "the end-of-file marker.");
        break;
    case FileError::DeviceUnavailable:
        text = QCoreApplication::translate("FileError", "That device appears to be unavailable.");
        buttons = Dialogs::Buttons::RetryCancel;
        break;
    case FileError::DiskNotReady:
        text = QCoreApplication::translate("FileError", "The disk is not ready.");
        break;
    case FileError::PathNotFound:
        text = QCoreApplication::translate("FileError", "That path doesn't exist.");
        break;
    default:
        return FileErrorAnswer::NotShown;
    }
    switch (dialogs.message(text, buttons, Dialogs::Icon::Exclamation,
                            QCoreApplication::translate("FileError", "File Error"))) {
    case Dialogs::Answer::Retry:
        return FileErrorAnswer::Retry;
    case Dialogs::Answer::Ignore:
        return FileErrorAnswer::Ignore;
    case Dialogs::Answer::Ok:
    case Dialogs::Answer::Cancel:
    case Dialogs::Answer::Abort:
        return FileErrorAnswer::Ok;
    default:
        return FileErrorAnswer::NotShown;
    }
}
