#include "update/updatedialog.h"
#include "ui_updatedialog.h"

#include "platform/datafiles.h"
#include "platform/errorreport.h"
#include "platform/profile.h"
#include "platform/uifont.h"
#include "state/global.h"
#include "state/moretexts.h"
#include "update/foldanimation.h"
#include "update/manifest.h"
#include "update/progressfigures.h"
#include "update/taskbar.h"
#include "update/updateservice.h"

#include <QDir>
#include <QPixmap>
#include <QShowEvent>
#include <QTimer>

namespace velmora {

TForm4* Form4 = nullptr;

namespace {

QString updateText(int line) {
    return Global::text(TextTable::Update, line);
}

// Labels are as wide as their text.
void setLabel(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
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

QString TForm4::manifestPath() const {
    return QDir(Global::updateFolder()).filePath(QLatin1String(manifest::FileName));
}

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm4::FormShow() {
    // Without the picture the dialog shows without a banner.
    const QString banner =
        findDataFile(QStringLiteral("pictures/update logo.png"), DataPlace::CurrentFolder);
    m_ui->Image1->setPixmap(banner.isEmpty() ? QPixmap() : QPixmap(banner));

    m_ui->Memo1->clear();
    const ProfileFile file = ProfileFile::load(manifestPath());
    const QStringList lines = manifest::featureLines(file, Global::languageName());
    for (const QString& line : lines)
        m_ui->Memo1->appendPlainText(line);
    language();
}

void TForm4::language() {
    setWindowTitle(updateText(1));
    setLabel(m_ui->Label1, updateText(2));
    setLabel(m_ui->Label2, updateText(3));

    const ProfileFile file = ProfileFile::load(manifestPath());
    setLabel(m_ui->Label3, updateText(4) + QLatin1Char(' ') + manifest::offeredVersionText(file));
    setLabel(m_ui->Label4, updateText(5) + QLatin1Char(' ') + manifest::installerSizeText(file) +
                               QLatin1Char(' ') + updateText(9));
    m_installerSize = manifest::installerSize(file);

    if (height() == foldanimation::CollapsedHeight)
        m_ui->Button1->setText(updateText(10));
    else if (height() == foldanimation::ExpandedHeight)
        m_ui->Button1->setText(updateText(11));
    m_ui->Button2->setText(updateText(12));
}

void TForm4::Button1Click() {
    m_timer2->start();
}

void TForm4::Timer2Timer() {
    using namespace foldanimation;
    const QString caption = m_ui->Button1->text();
    const Direction direction = directionOf(caption);
    const std::optional<Step> step = direction == Direction::Unfold ? unfoldStep(height())
                                     : direction == Direction::Fold ? foldStep(height())
                                                                    : std::nullopt;
    if (!step) {
        // Nothing to do from here; a ticking timer would change nothing either.
        m_timer2->stop();
        return;
    }
    setFixedSize(width(), height() + step->height);
    move(x(), y() + step->top);
    if (step->last) {
        m_timer2->stop();
        m_ui->Button1->setText(oppositeCaption(caption));
    }
}

void TForm4::Button2Click() {
    if (installerDownloadRunning())
        return;
    setLabel(m_ui->Label5, updateText(6));
    auto progress = std::make_shared<DownloadProgress>();
    if (!startInstallerDownload(progress, [this] { downloadFailed(); }))
        return;
    m_progress = std::move(progress);
    m_ui->Button2->setEnabled(false);
    m_timer1->start(10);
}

void TForm4::Timer1Timer() {
    const qint64 received = m_progress ? m_progress->received.load() : -1;
    const ProgressFigures figures = progressFigures(received, m_installerSize);
    if (received < 0)
        setLabel(m_ui->Label5, updateText(6));
    else
        setLabel(m_ui->Label5, QStringLiteral("%1 %2 %3")
                                   .arg(updateText(7))
                                   .arg(figures.kilobytes)
                                   .arg(updateText(8)));
    m_taskbar->setShowInTaskbar(true);
    m_taskbar->setPosition(figures.percent);
    m_ui->ProgressBar1->setValue(figures.bar);
    m_timer1->setInterval(100);
}

void TForm4::downloadFailed() {
    m_timer1->stop();
    m_taskbar->setShowInTaskbar(false);
    m_ui->ProgressBar1->setValue(0);
    setLabel(m_ui->Label5, moreText(MoreText::DownloadFailed));
    m_ui->Button2->setEnabled(true);
}

} // namespace velmora
