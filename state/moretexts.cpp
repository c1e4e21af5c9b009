#include "state/moretexts.h"

#include "state/global.h"

namespace velmora {
namespace {

QString fallback(MoreText line) {
    switch (line) {
    case MoreText::AnswerWord:
        return QStringLiteral("Ответ:");
    case MoreText::NoRoots:
        return QStringLiteral("нет корней");
    case MoreText::StoreDamaged:
        return QStringLiteral("The settings file was damaged and has been kept as %1; Velmora "
                              "starts with default settings.");
    case MoreText::DownloadFailed:
        return QStringLiteral("The installer could not be downloaded.");
    case MoreText::NotVerified:
        return QStringLiteral("The installer could not be verified, so nothing was started and no "
                              "file was kept.");
    case MoreText::StartFailed:
        return QStringLiteral("The installer could not be started. It has been kept as %1.");
    case MoreText::NoUpdateServer:
        return QStringLiteral("Updates of this installation come with the system's packages.");
    case MoreText::UnusableInstaller:
        return QStringLiteral("The offered installer is of a kind this system cannot use. "
                              "Nothing was downloaded.");
    case MoreText::StoreUnusable:
        return QStringLiteral("The settings file %1 cannot be used. Velmora runs with default "
                              "settings; changes to them will not be kept.");
    case MoreText::ManifestRefused:
        return QStringLiteral("The update's description could not be verified, so nothing was "
                              "downloaded.");
    case MoreText::AddressRefused:
        return QStringLiteral("The offered installer's address cannot be used, so no request was "
                              "made.");
    }
    return {};
}

} // namespace

QString moreText(MoreText line) {
    const QString text = Global::text(TextTable::More, static_cast<int>(line));
    return text.isEmpty() ? fallback(line) : text;
}

QString storeNoticeText(const QString& keptCopy) {
    return moreText(MoreText::StoreDamaged).arg(keptCopy);
}

QString unusableStoreNoticeText(const QString& storePath) {
    return moreText(MoreText::StoreUnusable).arg(storePath);
}

QString storeNoticeCaption() {
    const QString caption = Global::text(TextTable::Messages, 1);
    return caption.isEmpty() ? QStringLiteral("Information") : caption;
}

} // namespace velmora
