#include "filereplacement.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

int ReplaceFile(const QString &target, const QByteArray &text, FileDurability durability,
                BinaryFile::Access access)
{
    FileReplacement file(target, durability, access);
    file.write(text.constData(), text.size());
    return file.commit();
}

QString ReplacementTempName(const QString &target)
{
    const QFileInfo info(target);
    return info.path() + QStringLiteral("/.~") + info.fileName() + QStringLiteral(".tmp");
}

FileReplacement::FileReplacement(const QString &target, FileDurability durability,
                                 BinaryFile::Access access)
    : m_target(target), m_durability(durability)
{
    m_temp = ReplacementTempName(target);
    m_error = DeleteFile(m_temp); // one a crash left behind
    if (m_error)
        return;
    m_file = BinaryFile::create(m_temp, &m_error, access);
    struct stat old;
    if (m_file.isOpen() && access == BinaryFile::Access::AsUmask &&
        ::stat(QFile::encodeName(target).constData(), &old) == 0)
        m_file.setMode(old.st_mode);
}

FileReplacement::~FileReplacement()
{
    if (m_file.isOpen() || m_error)
        discard();
}

bool FileReplacement::write(const char *data, qint64 size)
{
    if (m_error || !m_file.isOpen())
        return false;
    if (!m_file.write(data, size)) {
        m_error = m_file.lastError();
        return false;
    }
    return true;
}

int FileReplacement::commit()
{
    if (m_error || !m_file.isOpen()) {
        discard();
        return m_error;
    }
    if (!((m_durability == FileDurability::Quick || m_file.sync()) && m_file.close())) {
        m_error = m_file.lastError();
    } else if (std::rename(QFile::encodeName(m_temp).constData(),
                           QFile::encodeName(m_target).constData()) != 0) {
        m_error = FileErrorNumber(errno, m_target);
    } else {
        return 0;
    }
    discard();
    return m_error;
}

void FileReplacement::discard()
{
    m_file = BinaryFile();
    DeleteFile(m_temp);
}
