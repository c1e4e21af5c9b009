#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace velmora {

// An INI file read once into memory and then looked up as often as needed; language files and
// the update manifest are read this way. The rules follow the wide Windows profile reader:
//
// - Lines end in CRLF, LF or CR and are trimmed of spaces and tabs; a UTF-8 byte-order mark is
//   dropped. Blank lines and lines starting with ';' are skipped; nothing else is a comment.
// - "[name]" opens a section named by the text between '[' and the last ']', trimmed; with no
//   ']' the rest of the line names it.
// - "name=value" splits at the first '='. A matching pair of '"' or '\'' around the value is
//   removed, and the value is cut to MaxValueLength UTF-16 code units. Lines without '=' and
//   lines before the first section header are never found.
// - Section and key names compare case-insensitively, by Unicode case folding, and as text
//   ("01" is not "1"). The first of two like-named sections wins whole, without merging; within
//   it the first of two like-named keys wins.
//
// A missing or unreadable file is an empty profile, in which every read gives the default.
class ProfileFile {
public:
    // The longest value returned, in UTF-16 code units: what the wide reader's 2048-unit buffer
    // holds beside its terminator.
    static constexpr qsizetype MaxValueLength = 2047;

    ProfileFile() = default;

    static ProfileFile load(const QString& path);
    static ProfileFile parse(QByteArrayView bytes);

    [[nodiscard]] bool hasSection(QStringView section) const;
    [[nodiscard]] bool hasKey(QStringView section, QStringView key) const;

    // The value, or def when the section or the key is missing. A key present with nothing after
    // '=' reads as an empty string, not as def.
    QString readString(QStringView section, QStringView key, const QString& def) const;

    // The value, trimmed, as a 32-bit integer: decimal with an optional sign, or hexadecimal
    // after "0x", "0X" or "$". Anything else, a decimal outside the int range or hexadecimal past
    // 32 bits gives def, as does a missing section or key. Hexadecimal is a bit pattern, so
    // "0xFFFFFFFF" reads as -1.
    int readInteger(QStringView section, QStringView key, int def) const;

    // Section names in file order, spelled as in the file, each once (later duplicates are not
    // sections of the profile).
    QStringList sectionNames() const;

    // The names of the section's keys in file order, spelled as in the file, each once: the keys a
    // look-up can find. Empty when the section is missing.
    QStringList keyNames(QStringView section) const;

private:
    // A case-folded name and the place of what it names, kept sorted by the folded name so that
    // a look-up is a binary search: hashing a QString costs more than the whole search.
    struct Name {
        QString folded;
        qsizetype item = 0;
    };
    struct Entry {
        QString name;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
        QList<Name> index;
    };

    static const Name* find(const QList<Name>& index, QStringView name);
    static void finishSection(Section& section);
    const Section* findSection(QStringView section) const;
    const Entry* findEntry(QStringView section, QStringView key) const;

    QList<Section> m_sections;
    QList<Name> m_sectionIndex;
};

} // namespace velmora
