// The update dialog on screen (offscreen): the unfold and fold animation tick by tick with the
// real language files, the texts that never accumulate, the manifest's texts shown literally, the
// features box, the banner, the progress tick before anything has arrived, and the dialog centred
// on its owner at every showing, also after the animation moved it.
#include "platform/ui/looks.h"
#include "state/global.h"
#include "state/language.h"
#include "tests/support/releasetool.h"
#include "tests/support/testsupport.h"
#include "tests/update/updatetexts.h"
#include "update/installerplan.h"
#include "update/manifest.h"
#include "update/taskbar.h"
#include "update/updatedialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace Global = velmora::Global;
using velmora::TextTable;

namespace {

// The client heights after each of the 22 ticks and the top edge's change from the start.
QList<int> unfoldHeights() {
    QList<int> heights;
    for (int height = 224; height <= 352; height += 8)
        heights << height;
    return heights << 358 << 362 << 365 << 367 << 368;
}
QList<int> unfoldTops() {
    QList<int> tops;
    for (int tick = 1; tick <= 17; ++tick)
        tops << -4 * tick;
    return tops << -71 << -73 << -74 << -75 << -76;
}
QList<int> foldHeights() {
    QList<int> heights;
    for (int height = 360; height >= 232; height -= 8)
        heights << height;
    return heights << 226 << 222 << 219 << 217 << 216;
}
QList<int> foldTops() {
    QList<int> tops;
    for (int tick = 1; tick <= 17; ++tick)
        tops << -76 + 4 * tick;
    return tops << -5 << -3 << -2 << -1 << 0;
}

const QByteArray kManifest = "[Info setup]\nVersion 1=33\nVersion 2=4.0\nSize 1=1700000\n"
                             "Size 2=1.63\nURL=http://127.0.0.1:9/setup.deb\n"
                             "[Info new version ru]\nQuantity of lines=3\nLine 1=Быстрее\n"
                             "Line 3=Новые темы\n"
                             "[Info new version en]\nQuantity of lines=2\nLine 1=Faster\n"
                             "Line 2=New themes\n";

} // namespace

class TstUpdateDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void unfoldAndFoldTickByTick_data();
    void unfoldAndFoldTickByTick();
    void directionIsTheDialogsOwn();
    void sizeUnit_data();
    void sizeUnit();
    void keyedBuildShowsOnlyASignedManifest();
    void textsNeverAccumulate();
    void featuresOfTheCurrentLanguage_data();
    void featuresOfTheCurrentLanguage();
    void bannerIsOptional();
    void progressTickBeforeAnythingArrived();
    void manifestTextsAreShownLiterally_data();
    void manifestTextsAreShownLiterally();
    void centredAtEveryShowing();
    void enterPressesTheFocusedButton();

private:
    void handOverManifest(const QByteArray& text);
    template <typename T> T* child(const char* name) const {
        return m_dialog->findChild<T*>(QLatin1String(name));
    }
    void useLanguage(const QString& name);

    QTemporaryDir m_common;
    std::unique_ptr<velmora::TForm4> m_dialog;
    velmora::ProfileFile m_manifest;
};

void TstUpdateDialog::initTestCase() {
    // The dialog's texts from unsigned manifests, whatever key the build carries.
    velmora::setUpdateSigningKey({});
    Global::setCommonAppData(m_common.path());
    QVERIFY(QDir().mkpath(Global::updateFolder()));
}

void TstUpdateDialog::handOverManifest(const QByteArray& text) {
    // What the update check hands over: the manifest as this build takes it, nothing when
    // refused.
    m_manifest = velmora::manifest::readManifest(text, velmora::updateSigningKey(),
                                                 QDateTime::currentDateTimeUtc())
                     .value_or(velmora::ProfileFile());
    if (m_dialog)
        m_dialog->setManifest(m_manifest, velmora::manifest::manifestUrl());
}

void TstUpdateDialog::init() {
    velmora::test::recordTopLevelWidgets();
    m_dialog = std::make_unique<velmora::TForm4>();
    handOverManifest(kManifest);
}

void TstUpdateDialog::cleanup() {
    m_dialog.reset();
    velmora::test::verifyNoWindowLeftOpen();
}

void TstUpdateDialog::useLanguage(const QString& name) {
    qputenv("VELMORA_DATA_DIR", VELMORA_SOURCE_DIR);
    Global::setLanguageName(name);
    velmora::loadLanguage(name);
}

void TstUpdateDialog::unfoldAndFoldTickByTick_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("show");
    QTest::addColumn<QString>("hide");
    QTest::newRow("Russian") << "Russian"
                             << "Показать особенности новой версии >>"
                             << "<< Скрыть особенности новой версии";
    QTest::newRow("English") << "English"
                             << "Show features of the new version >>"
                             << "<< Hide features of the new version";
    QTest::newRow("Ukrainian") << "Ukrainian"
                               << "Переглянути особливості нової версії >>"
                               << "<< Приховати особливості нової версії";
}

void TstUpdateDialog::unfoldAndFoldTickByTick() {
    QFETCH(QString, language);
    QFETCH(QString, show);
    QFETCH(QString, hide);
    useLanguage(language);
    m_dialog->move(100, 300);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    auto* button = child<QPushButton>("Button1");
    auto* timer = child<QTimer>("Timer2");
    QCOMPARE(m_dialog->height(), 216);
    QCOMPARE(button->text(), show);
    const int top = m_dialog->y();

    m_dialog->Button1Click();
    QVERIFY(timer->isActive());
    const QList<int> heights = unfoldHeights();
    const QList<int> tops = unfoldTops();
    for (int tick = 0; tick < 22; ++tick) {
        m_dialog->Timer2Timer();
        QCOMPARE(m_dialog->height(), heights[tick]);
        QCOMPARE(m_dialog->y() - top, tops[tick]);
        // The caption turns only at the end, so the direction holds the whole way.
        QCOMPARE(button->text(), tick < 21 ? show : hide);
    }
    QVERIFY(!timer->isActive());
    QCOMPARE(child<QPlainTextEdit>("Memo1")->geometry().bottom() + 1, 362);

    m_dialog->Button1Click();
    const QList<int> foldingHeights = foldHeights();
    const QList<int> foldingTops = foldTops();
    for (int tick = 0; tick < 22; ++tick) {
        m_dialog->Timer2Timer();
        QCOMPARE(m_dialog->height(), foldingHeights[tick]);
        QCOMPARE(m_dialog->y() - top, foldingTops[tick]);
        QCOMPARE(button->text(), tick < 21 ? hide : show);
    }
    QVERIFY(!timer->isActive());
    QCOMPARE(button->text(), show);

    // Expanded, a new show keeps the height and the hide caption.
    m_dialog->Button1Click();
    for (int tick = 0; tick < 22; ++tick)
        m_dialog->Timer2Timer();
    m_dialog->hide();
    m_dialog->show();
    QCOMPARE(m_dialog->height(), 368);
    QCOMPARE(button->text(), hide);
}

// The dialog keeps the direction itself; the caption only shows it: texts of no language fold
// and unfold as well, and a language changed while unfolded gives that language's hide text.
void TstUpdateDialog::directionIsTheDialogsOwn() {
    velmora::test::useNamedTexts();
    m_dialog->show();
    auto* button = child<QPushButton>("Button1");
    auto* timer = child<QTimer>("Timer2");
    QCOMPARE(button->text(), QStringLiteral("update 10"));
    m_dialog->Button1Click();
    while (timer->isActive())
        m_dialog->Timer2Timer();
    QCOMPARE(m_dialog->height(), 368);
    QCOMPARE(button->text(), QStringLiteral("update 11"));

    useLanguage(QStringLiteral("English"));
    m_dialog->language();
    QCOMPARE(button->text(), QStringLiteral("<< Hide features of the new version"));
    // A caption set from elsewhere changes nothing of what the next press does.
    button->setText(QStringLiteral("Show features of the new version >>"));
    m_dialog->Button1Click();
    while (timer->isActive())
        m_dialog->Timer2Timer();
    QCOMPARE(m_dialog->height(), 216);
    QCOMPARE(button->text(), QStringLiteral("Show features of the new version >>"));
}

void TstUpdateDialog::sizeUnit_data() {
    QTest::addColumn<QByteArray>("sizes");
    QTest::addColumn<QString>("label");
    QTest::newRow("below 1 MB: KB")
        << QByteArray("Size 1=2000\nSize 2=2\n") << "update 5 2 update 8";
    QTest::newRow("1 MB: MB") << QByteArray("Size 1=1048576\nSize 2=1.00\n")
                              << "update 5 1.00 update 9";
    QTest::newRow("no size in bytes: MB")
        << QByteArray("Size 2=1.63\n") << "update 5 1.63 update 9";
}

void TstUpdateDialog::sizeUnit() {
    QFETCH(QByteArray, sizes);
    QFETCH(QString, label);
    handOverManifest("[Info setup]\nVersion 1=33\n" + sizes);
    velmora::test::useNamedTexts();
    m_dialog->show();
    QCOMPARE(child<QLabel>("Label4")->text(), label);
}

// A keyed build shows only what a manifest signed by its key says; an unsigned one shows as if
// there were none.
void TstUpdateDialog::keyedBuildShowsOnlyASignedManifest() {
    velmora::test::ReleaseTool release;
    QVERIFY2(release.problem().isEmpty(), qPrintable(release.problem()));
    const QByteArray manifest =
        release.manifest("installer", QStringLiteral("https://example.org/v.deb"));
    QVERIFY2(release.problem().isEmpty(), qPrintable(release.problem()));
    velmora::setUpdateSigningKey(release.publicKey());
    const auto restore = qScopeGuard([] { velmora::setUpdateSigningKey({}); });
    velmora::test::useNamedTexts();

    handOverManifest(manifest);
    m_dialog->show();
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("update 4 4.0"));
    m_dialog->hide();
    handOverManifest(velmora::test::withManifestLine(manifest, "Version 2", "9.9"));
    m_dialog->show();
    QCOMPARE(child<QLabel>("Label3")->text(), QStringLiteral("update 4 "));
}

void TstUpdateDialog::textsNeverAccumulate() {
    useLanguage(QStringLiteral("Russian"));
    m_dialog->show();
    m_dialog->language();
    m_dialog->language();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Обновление"));
    QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("Обновление Velmora"));
    QCOMPARE(child<QLabel>("Label2")->text(), QStringLiteral("Текущая версия: 3.2"));
    QCOMPARE(child<QLabel>("Label3")->text(),
             QStringLiteral("Для загрузки доступна новая версия: 4.0"));
    QCOMPARE(child<QLabel>("Label4")->text(), QStringLiteral("Размер: 1.63 Мб"));
    QCOMPARE(child<QPushButton>("Button2")->text(), QStringLiteral("Загрузить"));
    QCOMPARE(m_dialog->InstallerSize(), 1700000);
    // Labels fit their text.
    const QLabel* label3 = child<QLabel>("Label3");
    QCOMPARE(label3->width(), label3->sizeHint().width());
}

void TstUpdateDialog::featuresOfTheCurrentLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("features");
    QTest::newRow("Russian, the missing line 2 empty") << "Russian"
                                                       << "Быстрее\n\nНовые темы";
    QTest::newRow("English") << "English"
                             << "Faster\nNew themes";
    QTest::newRow("Ukrainian section missing") << "Ukrainian"
                                               << "";
}

void TstUpdateDialog::featuresOfTheCurrentLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, features);
    useLanguage(language);
    m_dialog->show();
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toPlainText(), features);
    // Every show starts the box afresh.
    m_dialog->hide();
    m_dialog->show();
    QCOMPARE(child<QPlainTextEdit>("Memo1")->toPlainText(), features);
}

// With or without the banner, and on a dark theme too, the title can be read: on the light
// banner in a dark colour, without it in the window's own.
void TstUpdateDialog::bannerIsOptional() {
    QPalette dark = m_dialog->palette();
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    m_dialog->setPalette(dark);
    velmora::test::useNamedTexts();
    const QLabel* title = child<QLabel>("Label1");
    const auto titleColour = [title] { return title->palette().color(QPalette::WindowText); };

    const QString current = QDir::currentPath();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    qputenv("VELMORA_DATA_DIR", elsewhere.path().toLocal8Bit());
    m_dialog->show();
    QVERIFY(child<QLabel>("Image1")->pixmap().isNull());
    QVERIFY(m_dialog->isVisible());
    QVERIFY(velmora::contrastRatio(titleColour(), dark.color(QPalette::Window)) >= 4.5);
    m_dialog->hide();

    qputenv("VELMORA_DATA_DIR", VELMORA_SOURCE_DIR);
    m_dialog->show();
    const QLabel* image = child<QLabel>("Image1");
    QCOMPARE(image->pixmap().size(), QSize(420, 52));
    // Against every pixel of the banner behind the title.
    const QImage banner = image->pixmap().toImage();
    const QRect behind = QRect(image->mapFromGlobal(title->mapToGlobal(QPoint())), title->size())
                             .intersected(banner.rect());
    QVERIFY(!behind.isEmpty());
    double lowest = 21;
    for (int y = behind.top(); y <= behind.bottom(); ++y)
        for (int x = behind.left(); x <= behind.right(); ++x)
            lowest =
                std::min(lowest, velmora::contrastRatio(titleColour(), banner.pixelColor(x, y)));
    QVERIFY2(lowest >= 4.5, qPrintable(QString::number(lowest)));
    QDir::setCurrent(current);
}

void TstUpdateDialog::progressTickBeforeAnythingArrived() {
    velmora::test::useNamedTexts();
    m_dialog->language();
    m_dialog->Timer1Timer();
    QCOMPARE(child<QLabel>("Label5")->text(), QStringLiteral("update 6"));
    QCOMPARE(child<QProgressBar>("ProgressBar1")->value(), 0);
    QVERIFY(m_dialog->taskbarIndicator()->ShowInTaskbar());
    QCOMPARE(m_dialog->taskbarIndicator()->Position(), 0);
    QCOMPARE(child<QTimer>("Timer1")->interval(), 100);
}

void TstUpdateDialog::manifestTextsAreShownLiterally_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("big red version text")
        << QByteArray("Version 2")
        << "<span style='font-size:30px;color:red'>4.0 – CRITICAL, install now</span>"
        << "Label3";
    QTest::newRow("a link in the size")
        << QByteArray("Size 2") << "<a href='https://example.org/evil'>1.63</a>"
        << "Label4";
}

// Whatever the manifest says is drawn as the characters it has: no markup takes effect, so the
// label needs the width of the whole text, tags included, in the dialog's own face.
void TstUpdateDialog::manifestTextsAreShownLiterally() {
    QFETCH(QByteArray, key);
    QFETCH(QString, value);
    QFETCH(QString, label);
    handOverManifest("[Info setup]\nVersion 1=33\n" + key + "=" + value.toUtf8() + "\n");
    velmora::test::useNamedTexts();
    m_dialog->show();
    const QLabel* shown = child<QLabel>(label.toLatin1().constData());
    QVERIFY2(shown->text().contains(value), qPrintable(shown->text()));
    QVERIFY(shown->sizeHint().width() >= shown->fontMetrics().horizontalAdvance(shown->text()));
}

void TstUpdateDialog::centredAtEveryShowing() {
    QWidget owner;
    // Far enough from the screen's edges for the dialog to be centred on it.
    owner.setGeometry(300, 100, 264, 498);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    velmora::TForm4 dialog(&owner);
    const auto centreOffset = [&] {
        return (dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength();
    };
    useLanguage(QStringLiteral("English"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(centreOffset() <= 1, qPrintable(QString::number(centreOffset())));

    // The features box unfolds and folds back, moving the dialog as it goes; then it hides.
    auto* timer = dialog.findChild<QTimer*>(QStringLiteral("Timer2"));
    for (int direction = 0; direction < 2; ++direction) {
        dialog.Button1Click();
        while (timer->isActive())
            dialog.Timer2Timer();
    }
    dialog.hide();
    owner.move(360, 60);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY2(centreOffset() <= 1, qPrintable(QString::number(centreOffset())));
}

void TstUpdateDialog::enterPressesTheFocusedButton() {
    useLanguage(QStringLiteral("English"));
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    auto* features = child<QPushButton>("Button1");
    features->setFocus();
    QTest::keyClick(features, Qt::Key_Return);
    QVERIFY(child<QTimer>("Timer2")->isActive());
}

QTEST_MAIN(TstUpdateDialog)
#include "tst_updatedialog.moc"
