#pragma once

// The replacement protocol: a file is replaced by writing a temp file beside it and renaming it
// over the file, so that a reader sees the old file or the new one, never a part.

#include "binaryfile.h"

#include <QByteArray>
#include <QString>

// Replaces target by a file holding text: a temp file beside it (".~name.tmp"), stored on the
// disk unless Quick, then renamed over it. A new file gets the umask's mode, a replaced one
// keeps its own; a Private one is readable by the user alone either way (what is derived from
// calendar text, configurations that name a password command). 0, or the file error number; a
// failure leaves target as it was and no temp file.
enum class FileDurability { Stored, Quick };
int ReplaceFile(const QString &target, const QByteArray &text,
                FileDurability durability = FileDurability::Stored,
                BinaryFile::Access access = BinaryFile::Access::AsUmask);

// The temp file a replacement of target writes first: ".~name.tmp" beside it.
QString ReplacementTempName(const QString &target);

// The same replacement written piece by piece, for a file too large to hold in memory first: the
// temp file is made at construction, filled by write and renamed over target by commit. Until
// then target is untouched; one not committed leaves no temp file behind.
class FileReplacement
{
public:
    explicit FileReplacement(const QString &target,
                             FileDurability durability = FileDurability::Stored,
                             BinaryFile::Access access = BinaryFile::Access::AsUmask);
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;
    ~FileReplacement();

    // False once any write has failed; later writes are left out.
    bool write(const char *data, qint64 size);
    // 0 when target now holds what was written, else the file error number of the first fault.
    int commit();
    // The file error number of the first fault so far, 0 while there is none.
    int error() const { return m_error; }

private:
    void discard();

    QString m_target;
    QString m_temp;
    FileDurability m_durability;
    BinaryFile m_file;
    int m_error = 0;
};
