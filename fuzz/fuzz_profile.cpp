// The profile reader on arbitrary bytes, against a plain model of the rules in profile.h: a
// line-by-line reading with linear, case-folded look-ups. Every section, key, value and integer
// the reader gives must be the model's, and so must look-ups by other spellings of the names.

#include "fuzz/fuzzcheck.h"
#include "platform/profile/profile.h"

#include <QList>
#include <QStringDecoder>
#include <QStringList>

#include <limits>
#include <optional>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

struct ModelEntry {
    QString name;
    QString folded;
    QString value;
};

struct ModelSection {
    QString name;
    QString folded;
    QList<ModelEntry> entries; // the first of each folded name only
};

QStringView trimBlanks(QStringView text) {
    while (!text.isEmpty() && (text.front() == u' ' || text.front() == u'\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
    return text;
}

QList<ModelSection> readModel(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');

    QList<ModelSection> sections;
    ModelSection* current = nullptr;
    for (const QStringView raw : QStringView(text).split(u'\n')) {
        const QStringView line = trimBlanks(raw);
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const QStringView body = line.sliced(1);
            const qsizetype close = body.lastIndexOf(u']');
            const QString name = trimBlanks(close < 0 ? body : body.first(close)).toString();
            const QString folded = name.toCaseFolded();
            current = nullptr;
            bool repeated = false;
            for (const ModelSection& known : sections)
                repeated = repeated || known.folded == folded;
            if (!repeated) {
                sections.append(ModelSection{name, folded, {}});
                current = &sections.back();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!current || equals < 0)
            continue;
        const QString name = trimBlanks(line.first(equals)).toString();
        const QString folded = name.toCaseFolded();
        QStringView value = trimBlanks(line.sliced(equals + 1));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.sliced(1, value.size() - 2);
        value = value.first(std::min(value.size(), ProfileFile::MaxValueLength));
        if (value.size() == ProfileFile::MaxValueLength && value.back().isHighSurrogate())
            value.chop(1);
        bool known = false;
        for (const ModelEntry& entry : current->entries)
            known = known || entry.folded == folded;
        if (!known)
            current->entries.append(ModelEntry{name, folded, value.toString()});
    }
    return sections;
}

// The integer rules of profile.h: decimal with an optional sign in the int range, or up to 32
// bits of hexadecimal after "0x", "0X" or "$".
std::optional<int> modelInteger(QStringView value) {
    value = trimBlanks(value);
    QStringView hex;
    if (value.startsWith(u"0x", Qt::CaseInsensitive))
        hex = value.sliced(2);
    else if (value.startsWith(u'$'))
        hex = value.sliced(1);
    else
        hex = QStringView(); // null: not hexadecimal
    if (!hex.isNull()) {
        if (hex.isEmpty())
            return std::nullopt;
        quint64 n = 0;
        for (const QChar c : hex) {
            const qsizetype digit = QStringView(u"0123456789abcdef").indexOf(c.toLower());
            if (c.unicode() > 0x7f || digit < 0)
                return std::nullopt;
            n = n * 16 + quint64(digit);
            if (n > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return int(quint32(n));
    }
    QStringView digits = value;
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits = digits.sliced(1);
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong n = value.toString().toLatin1().toLongLong(&ok);
    // A long run of digits overflows qlonglong: also out of the int range.
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(n);
}

// Other spellings of a name that must find the same thing (or nothing, when the model says so).
QStringList spellings(const QString& name) {
    return {name.toCaseFolded(), name.toUpper(), name.toLower(), name + u'x',
            name.chopped(name.isEmpty() ? 0 : 1)};
}

const ModelSection* findModel(const QList<ModelSection>& sections, const QString& name) {
    const QString folded = name.toCaseFolded();
    for (const ModelSection& section : sections) {
        if (section.folded == folded)
            return &section;
    }
    return nullptr;
}

const QString* findModelValue(const ModelSection& section, const QString& key) {
    const QString folded = key.toCaseFolded();
    for (const ModelEntry& entry : section.entries) {
        if (entry.folded == folded)
            return &entry.value;
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const ProfileFile profile = ProfileFile::parse(bytes);
    const QList<ModelSection> model = readModel(bytes);
    const QString missing = QStringLiteral("\n"); // no value holds a line break
    const QString all = textOf(data, size);

    QStringList modelNames;
    for (const ModelSection& section : model)
        modelNames.append(section.name);
    check(profile.sectionNames() == modelNames, "the sections are the model's", all);

    for (const ModelSection& section : model) {
        QStringList keys;
        for (const ModelEntry& entry : section.entries)
            keys.append(entry.name);
        check(profile.keyNames(section.name) == keys, "the keys are the model's", section.name);
        for (const auto& [key, folded, value] : section.entries) {
            check(profile.hasKey(section.name, key), "every key is found", key);
            check(profile.readString(section.name, key, missing) == value,
                  "every value is the model's", key);
            const std::optional<int> expected = modelInteger(value);
            const int low = profile.readInteger(section.name, key, std::numeric_limits<int>::min());
            const int high =
                profile.readInteger(section.name, key, std::numeric_limits<int>::max());
            check(expected ? low == *expected && high == *expected : low != high,
                  "every integer is the model's", value);
        }
        for (const QString& other : spellings(section.name)) {
            const ModelSection* found = findModel(model, other);
            check(profile.hasSection(other) == (found != nullptr),
                  "a section spelled otherwise is found as the model finds it", other);
            if (!found || section.entries.isEmpty())
                continue;
            for (const QString& key : spellings(section.entries.front().name)) {
                const QString* value = findModelValue(*found, key);
                check(profile.readString(other, key, missing) == (value ? *value : missing),
                      "a key spelled otherwise is found as the model finds it", key);
            }
        }
    }
    return 0;
}
