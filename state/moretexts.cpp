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
    case MoreText::TextbookCaption:
        return QStringLiteral("Textbook view");
    case MoreText::TextbookEmpty:
        return QStringLiteral("Solve an equation on the equation page: its solution appears "
                              "here, written as in a textbook.");
    case MoreText::TextbookCopyText:
        return QStringLiteral("Copy as text");
    case MoreText::TextbookCopyLatex:
        return QStringLiteral("Copy as LaTeX");
    case MoreText::TextbookPrint:
        return QStringLiteral("Print…");
    case MoreText::TextbookSavePdf:
        return QStringLiteral("Save as PDF…");
    case MoreText::TextbookZoomIn:
        return QStringLiteral("Zoom in");
    case MoreText::TextbookZoomOut:
        return QStringLiteral("Zoom out");
    case MoreText::TextbookZoomReset:
        return QStringLiteral("Actual size");
    case MoreText::TextbookDecimals:
        return QStringLiteral("Decimals:");
    case MoreText::TextbookClose:
        return QStringLiteral("Close");
    case MoreText::TextbookPdfFilter:
        return QStringLiteral("PDF files (*.pdf)");
    case MoreText::ManifestRefused:
        return QStringLiteral("The update's description could not be verified, so nothing was "
                              "downloaded.");
    case MoreText::AddressRefused:
        return QStringLiteral("The offered installer's address cannot be used, so no request was "
                              "made.");
    default:
        // The solution's words: the textbook view's own English ones.
        break;
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
