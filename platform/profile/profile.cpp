#include "platform/profile/profile.h"

#include <QFile>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <limits>
#include <optional>

namespace velmora {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringView trimmedLeft(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    return text.sliced(start);
}

QStringView trimmedRight(QStringView text) {
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    return text.first(end);
}

// Only spaces and tabs: other white space, such as a no-break space, belongs to the text.
QStringView trimmed(QStringView text) {
    return trimmedRight(trimmedLeft(text));
}

// Room for the usual names without touching the heap.
using FoldBuffer = QVarLengthArray<char16_t, 64>;

// Unicode simple case folding, as QString::toCaseFolded() does, into a buffer the caller keeps:
// a look-up folds its names without allocating.
QStringView foldInto(QStringView name, FoldBuffer& buffer) {
    buffer.clear();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x80) {
            buffer.append(c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c);
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(c, name[++i].unicode());
        const char32_t foldedCode = QChar::toCaseFolded(code);
        if (QChar::requiresSurrogates(foldedCode)) {
            buffer.append(QChar::highSurrogate(foldedCode));
            buffer.append(QChar::lowSurrogate(foldedCode));
        } else {
            buffer.append(char16_t(foldedCode));
        }
    }
    return QStringView(buffer.constData(), buffer.size());
}

bool foldedLess(const auto& a, const auto& b) {
    return QStringView(a.folded) < QStringView(b.folded);
}

QString valueOf(QStringView text) {
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
        text.back() == text.front())
        text = text.sliced(1, text.size() - 2);
    if (text.size() > ProfileFile::MaxValueLength) {
        text = text.first(ProfileFile::MaxValueLength);
        // The cut went through a surrogate pair: half a character is no character.
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text.toString();
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Hexadecimal digits as a 32-bit pattern; leading zeros do not count towards the 32 bits.
std::optional<int> parseHex(QStringView digits) {
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint64(digit);
        if (value > std::numeric_limits<quint32>::max())
            return std::nullopt;
    }
    return int(quint32(value));
}

std::optional<int> parseDecimal(QStringView text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    // One past int's largest, so that the smallest int still parses.
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (const QChar c : text) {
        // ASCII digits only: QChar::isDigit() would also take Arabic-Indic and other digits.
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

std::optional<int> parseInteger(QStringView text) {
    text = trimmed(text);
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        return parseHex(text.sliced(2));
    if (text.startsWith(u'$'))
        return parseHex(text.sliced(1));
    return parseDecimal(text);
}

} // namespace

ProfileFile ProfileFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

ProfileFile ProfileFile::parse(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // QString::fromUtf8() would drop a second mark as well; only the first is not text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    const QStringView all(text);

    ProfileFile profile;
    FoldBuffer buffer;
    // The section that key lines go to; none before the first header and in a repeated
    // section, whose keys are then dropped.
    qsizetype current = -1;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != u'\n' && all[end] != u'\r')
            ++end;
        const QStringView line = trimmed(all.sliced(pos, end - pos));
        pos = end + 1;
        if (end + 1 < all.size() && all[end] == u'\r' && all[end + 1] == u'\n')
            ++pos;

        if (line.isEmpty() || line.front() == u';')
            continue;

        if (line.front() == u'[') {
            const QStringView body = line.sliced(1);
            const qsizetype close = body.lastIndexOf(u']');
            // A header without ']' is named by the rest of the line ("[Lang" opens "Lang"), the
            // Windows-like reading, rather than being skipped or taken for a key line.
            const QStringView name = trimmed(close < 0 ? body : body.first(close));
            const QStringView folded = foldInto(name, buffer);
            // Files hold a handful of sections, so a scan finds a repeat soon enough; the index
            // is sorted once at the end.
            const bool repeated =
                std::any_of(profile.m_sectionIndex.cbegin(), profile.m_sectionIndex.cend(),
                            [&](const Name& known) { return QStringView(known.folded) == folded; });
            if (repeated) {
                current = -1;
            } else {
                current = profile.m_sections.size();
                profile.m_sections.append(Section{name.toString(), {}, {}});
                profile.m_sectionIndex.append(Name{folded.toString(), current});
            }
            continue;
        }

        if (current < 0)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView name = trimmedRight(line.first(equals));
        Section& section = profile.m_sections[current];
        section.index.append(Name{foldInto(name, buffer).toString(), section.entries.size()});
        section.entries.append(
            Entry{name.toString(), valueOf(trimmedLeft(line.sliced(equals + 1)))});
    }

    std::sort(profile.m_sectionIndex.begin(), profile.m_sectionIndex.end(),
              [](const Name& a, const Name& b) { return foldedLess(a, b); });
    for (Section& section : profile.m_sections)
        finishSection(section);
    return profile;
}

// Sorts the section's index and drops every key but the first of each folded name, keeping the
// rest in file order.
void ProfileFile::finishSection(Section& section) {
    // Stable, so that of equal names the first in the file comes first and is the one kept.
    std::stable_sort(section.index.begin(), section.index.end(),
                     [](const Name& a, const Name& b) { return foldedLess(a, b); });
    const auto last =
        std::unique(section.index.begin(), section.index.end(),
                    [](const Name& a, const Name& b) { return a.folded == b.folded; });
    section.index.erase(last, section.index.end());
    if (section.index.size() == section.entries.size())
        return;

    QList<qsizetype> place(section.entries.size(), -1);
    for (const Name& name : std::as_const(section.index))
        place[name.item] = 0;
    QList<Entry> kept;
    kept.reserve(section.index.size());
    for (qsizetype i = 0; i < section.entries.size(); ++i) {
        if (place[i] < 0)
            continue;
        place[i] = kept.size();
        kept.append(std::move(section.entries[i]));
    }
    for (Name& name : section.index)
        name.item = place[name.item];
    section.entries = std::move(kept);
}

const ProfileFile::Name* ProfileFile::find(const QList<Name>& index, QStringView name) {
    FoldBuffer buffer;
    const QStringView folded = foldInto(name, buffer);
    const auto found = std::lower_bound(
        index.cbegin(), index.cend(), folded,
        [](const Name& known, QStringView wanted) { return QStringView(known.folded) < wanted; });
    return found != index.cend() && QStringView(found->folded) == folded ? &*found : nullptr;
}

const ProfileFile::Section* ProfileFile::findSection(QStringView section) const {
    const Name* found = find(m_sectionIndex, section);
    return found ? &m_sections[found->item] : nullptr;
}

const ProfileFile::Entry* ProfileFile::findEntry(QStringView section, QStringView key) const {
    const Section* in = findSection(section);
    if (!in)
        return nullptr;
    const Name* found = find(in->index, key);
    return found ? &in->entries[found->item] : nullptr;
}

bool ProfileFile::hasSection(QStringView section) const {
    return findSection(section) != nullptr;
}

bool ProfileFile::hasKey(QStringView section, QStringView key) const {
    return findEntry(section, key) != nullptr;
}

QString ProfileFile::readString(QStringView section, QStringView key, const QString& def) const {
    const Entry* entry = findEntry(section, key);
    return entry ? entry->value : def;
}

int ProfileFile::readInteger(QStringView section, QStringView key, int def) const {
    const Entry* entry = findEntry(section, key);
    if (!entry)
        return def;
    return parseInteger(entry->value).value_or(def);
}

QStringList ProfileFile::sectionNames() const {
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList ProfileFile::keyNames(QStringView section) const {
    QStringList names;
    if (const Section* in = findSection(section)) {
        names.reserve(in->entries.size());
        for (const Entry& entry : in->entries)
            names.append(entry.name);
    }
    return names;
}

} // namespace velmora
