#pragma once

// File errors: the operating system's errors as the file error numbers of the platform the
// system was written for, their descriptions, and the "File Error" message.

#include <QString>

class Dialogs;

// File error numbers of the platform the system was written for; the operating system's errors
// are mapped onto them so that messages and error texts read the same everywhere.
namespace FileError {
constexpr int BadFileNameOrNumber = 52;
constexpr int FileNotFound = 53;
constexpr int BadFileMode = 54;
constexpr int FileAlreadyOpen = 55;
constexpr int DiskFull = 57;
constexpr int FileAlreadyExists = 58;
constexpr int InputPastEndOfFile = 62;
constexpr int BadFileName = 64;
constexpr int TooManyFiles = 67;
constexpr int DeviceUnavailable = 68;
constexpr int DiskNotReady = 71;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
} // namespace FileError

// Maps an errno value met while working on path onto a file error number.
int FileErrorNumber(int err, const QString &path = QString());
// The description that goes with a file error number.
QString FileErrorDescription(int number);

// What the user answered a file error message.
enum class FileErrorAnswer { Retry, Ignore, Ok, NotShown };
// Shows the "File Error" message for the known file errors; NotShown for the others (the
// caller then says what went wrong itself). Ok stands for OK, Cancel and Abort alike.
FileErrorAnswer FileErrorMessage(int errorNumber, Dialogs &dialogs);
