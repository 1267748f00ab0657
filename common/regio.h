#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

class Dialogs;

// Read-only access to the registry values the system consults. On this platform the registry is
// a per-user INI file whose groups are key paths and whose entries are values:
//
//   [HKEY_CURRENT_USER\Control Panel\International]
//   sList=";"
//   [HKEY_CURRENT_USER\Software\Microsoft\Office\12.0\Outlook\Options\Calendar]
//   BackgroundColorIndex=dword:00000003
//   MasterList=hex:41,00,42,00
//
// A value is text (bare, or quoted with \" and \\ escapes), a 32-bit number ("dword:" and eight
// hexadecimal digits) or bytes ("hex:" and comma-separated pairs); "@" names a key's default
// value. Key paths and value names compare without regard to letter case; root names exactly.
// A key exists when its group, or a group below it, is in the file.
//
// Reads never raise: a missing file, key or value reads as the text "Error".
class RegIO
{
public:
    static const QString kError; // "Error"

    // Reads the file at path (by default $XDG_CONFIG_HOME/Quorvel/registry.ini); messages about
    // malformed paths go to dialogs.
    explicit RegIO(Dialogs &dialogs, const QString &path = DefaultPath());

    static QString DefaultPath();

    // The predefined handle of a root key name, 0 for an unknown name.
    static quint32 RegRootKey(const QString &name);
    // Root handle and subkey path of a key path. Shows "Incorrect Format:" and returns false for a
    // path that does not begin with "HKEY_" or that ends in "\".
    bool RegSplitPath(const QString &path, quint32 &root, QString &subkey) const;

    // The number, "Error", or a null QVariant when the root is unknown.
    QVariant RegReadNumber(const QString &path, const QString &valueName) const;
    // The text without its terminator, "Error", or empty text when the root is unknown.
    QString RegReadText(const QString &path, const QString &valueName) const;
    // The value's bytes as text, terminator included, "Error", or a null QVariant when the root
    // is unknown.
    QVariant RegReadRaw(const QString &path, const QString &valueName) const;
    // The synchroniser's own text reader: the first 255 bytes of the value with its terminator,
    // trimmed of spaces, less the last character; "Error" when the value cannot be read.
    QString SyncherReadText(const QString &path, const QString &valueName) const;

    // The user's list separator ("sList" of the international settings), "," when unreadable.
    QString ListSeparator() const;

private:
    enum class Type { Text, Number, Binary };
    struct Value
    {
        Type type = Type::Text;
        QByteArray data; // text without terminator, four little-endian bytes, or the bytes
    };
    // The value under path, or false when the root is unknown (unknownRoot) or it cannot be read.
    bool lookup(const QString &path, const QString &valueName, Value &value,
                bool &unknownRoot) const;

    Dialogs &m_dialogs;
    QString m_path;
};
