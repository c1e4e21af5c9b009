#include "update/updatedialog.h"
#include "ui_updatedialog.h"

#include "platform/base/datafiles.h"
#include "platform/profile/profile.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/looks.h"
#include "platform/ui/uifont.h"
#include "state/global.h"
#include "state/moretexts.h"
#include "state/tablelines.h"
#include "update/foldanimation.h"
#include "update/manifest.h"
#include "update/progressfigures.h"
#include "update/taskbar.h"
#include "update/updatefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QPalette>
#include <QPixmap>
#include <QShowEvent>
#include <QTimer>

namespace velmora {

namespace {

// A path in the home folder as users write it, "~/…", so it takes less of the dialog.
QString shownPath(const QString& path) {
    const QString home = QDir::homePath();
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

QString failureText(UpdateFailure failure, const QString& installer) {
    switch (failure) {
    case UpdateFailure::ManifestRefused:
        return moreText(MoreText::ManifestRefused);
    case UpdateFailure::AddressRefused:
        return moreText(MoreText::AddressRefused);
    case UpdateFailure::DownloadFailed:
        return moreText(MoreText::DownloadFailed);
    case UpdateFailure::NotVerified:
        return moreText(MoreText::NotVerified);
    case UpdateFailure::StartFailed:
        return moreText(MoreText::StartFailed).arg(shownPath(installer));
    case UpdateFailure::UnusableInstaller:
        return moreText(MoreText::UnusableInstaller);
    }
    return {};
}

} // namespace

TForm4::TForm4(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm4>()), m_timer1(new QTimer(this)),
      m_timer2(new QTimer(this)), m_taskbar(new TaskbarProgressIndicator(this)) {
    setFont(windowFont());
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont title = windowFont();
    title.setPixelSize(16);
    m_ui->Label1->setFont(title);
    setFixedSize(size());
    // Shown as the start-up check or the menu's check finds an update; nothing else is used
    // meanwhile.
    setModal(true);
    // Centred on the main window at every showing, also after the features box moved it.
    centreOnEveryShowing(this);
    // A path in a failure can be copied.
    m_ui->Label5->setTextInteractionFlags(Qt::TextSelectableByMouse);
    letEnterPressFocusedButtons();

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer2->setObjectName(QStringLiteral("Timer2"));
    m_timer1->setInterval(10);
    m_timer2->setInterval(10);
    connectGuarded(m_ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connectGuarded(m_ui->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connectGuarded(m_timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connectGuarded(m_timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

TForm4::~TForm4() = default;

void TForm4::setManifest(const ProfileFile& manifest, const QString& source) {
    m_manifest = manifest;
    m_source = source;
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // Another instance starting now leaves the manifest this dialog reads alone.
        m_folderHold = holdUpdateFolder(Global::updateFolder());
        guarded([this] { FormShow(); });
    }
}

void TForm4::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        // The download belongs to the dialog: closed, it ends, and nothing starts.
        if (m_downloading) {
            endDownload();
            setStatus(QString());
            emit downloadAbandoned();
        }
        m_folderHold.reset();
    }
    QDialog::hideEvent(event);
}

void TForm4::FormShow() {
    // Without the picture the dialog shows without a banner.
    const QString banner =
        findDataFile(QStringLiteral("pictures/update logo.png"), DataPlace::CurrentFolder);
    m_ui->Image1->setPixmap(banner.isEmpty() ? QPixmap() : QPixmap(banner));
    // The banner is light in every theme: its title is dark on it, and takes the window's own
    // colours where there is no banner.
    QPalette title = palette();
    if (!banner.isEmpty())
        title.setColor(QPalette::WindowText, QColor(0x20, 0x20, 0x20));
    m_ui->Label1->setPalette(title);

    m_ui->Memo1->clear();
    const QStringList lines = manifest::featureLines(m_manifest, Global::languageName());
    for (const QString& line : lines)
        m_ui->Memo1->appendPlainText(line);
    language();
    nameKeptInstaller();
}

void TForm4::nameKeptInstaller() {
    if (m_downloading)
        return;
    // The installer a start that failed left, named again while it is the one offered.
    const auto planned = planInstaller(m_manifest, m_source);
    const auto* plan = std::get_if<InstallerPlan>(&planned);
    if (!plan)
        return;
    const QString kept = QDir(Global::updateFolder()).filePath(plan->fileName);
    if (QFileInfo::exists(kept) && fileMeetsExpectation(kept, plan->expected))
        setStatus(failureText(UpdateFailure::StartFailed, kept), true);
}

void TForm4::language() {
    setWindowTitle(text(UpdateLine::Caption));
    setAutoSizedText(m_ui->Label1, text(UpdateLine::Title));
    setAutoSizedText(m_ui->Label2, text(UpdateLine::CurrentVersion));

    setAutoSizedText(m_ui->Label3, text(UpdateLine::NewVersion) + QLatin1Char(' ') +
                                       manifest::offeredVersionText(m_manifest));
    m_installerSize = manifest::installerSize(m_manifest);
    // The release tool writes a size below 1 MB in KB, so none reads "0.00 MB".
    const bool kilobytes = m_installerSize > 0 && m_installerSize < 1024 * 1024;
    setAutoSizedText(m_ui->Label4,
                     text(UpdateLine::Size) + QLatin1Char(' ') +
                         manifest::installerSizeText(m_manifest) + QLatin1Char(' ') +
                         text(kilobytes ? UpdateLine::Kilobytes : UpdateLine::Megabytes));

    m_ui->Button1->setText(text(m_unfolded ? UpdateLine::HideFeatures : UpdateLine::ShowFeatures));
    m_ui->Button2->setText(text(UpdateLine::Download));
}

void TForm4::Button1Click() {
    m_timer2->start();
}

void TForm4::Timer2Timer() {
    using namespace foldanimation;
    // The direction is the dialog's own state; the caption only shows it.
    const std::optional<Step> step = m_unfolded ? foldStep(height()) : unfoldStep(height());
    if (!step) {
        // Nothing to do from here; a ticking timer would change nothing either.
        m_timer2->stop();
        return;
    }
    setFixedSize(width(), height() + step->height);
    move(x(), y() + step->top);
    if (step->last) {
        m_timer2->stop();
        m_unfolded = !m_unfolded;
        m_ui->Button1->setText(
            text(m_unfolded ? UpdateLine::HideFeatures : UpdateLine::ShowFeatures));
    }
}

void TForm4::Button2Click() {
    if (!m_downloading)
        emit downloadRequested();
}

void TForm4::downloadStarted() {
    m_downloading = true;
    m_received = -1;
    setStatus(text(UpdateLine::Connecting));
    m_ui->Button2->setEnabled(false);
    m_timer1->start(10);
}

void TForm4::downloadProgress(qint64 bytes) {
    if (m_downloading)
        m_received = bytes;
}

void TForm4::Timer1Timer() {
    const qint64 received = m_received;
    const ProgressFigures figures = progressFigures(received, m_installerSize);
    if (received < 0)
        setStatus(text(UpdateLine::Connecting));
    else
        setStatus(QStringLiteral("%1 %2 %3")
                      .arg(text(UpdateLine::Downloaded))
                      .arg(figures.kilobytes)
                      .arg(text(UpdateLine::Kilobytes)));
    m_taskbar->setShowInTaskbar(true);
    m_taskbar->setPosition(figures.percent);
    m_ui->ProgressBar1->setValue(figures.bar);
    m_timer1->setInterval(100);
}

void TForm4::downloadFailed(UpdateFailure failure, const QString& installer) {
    endDownload();
    setStatus(failureText(failure, installer), true);
}

void TForm4::downloadStopped() {
    if (!m_downloading)
        return;
    endDownload();
    setStatus(QString());
}

void TForm4::endDownload() {
    m_downloading = false;
    m_received = -1;
    m_timer1->stop();
    m_taskbar->setShowInTaskbar(false);
    m_ui->ProgressBar1->setValue(0);
    m_ui->Button2->setEnabled(true);
}

void TForm4::setStatus(const QString& text, bool failure) {
    QLabel* label = m_ui->Label5;
    m_ui->ProgressBar1->setVisible(!failure);
    label->setWordWrap(failure);
    if (failure) {
        const QRect bar = m_ui->ProgressBar1->geometry();
        label->setGeometry(bar.left(), label->y(), bar.width(), m_ui->Button1->y() - label->y());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setText(text);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setText(text);
        label->resize(label->sizeHint());
    }
}

} // namespace velmora
