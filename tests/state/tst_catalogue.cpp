// The settings catalogue: the flag strings, where a stored letter is found, and the reads that
// fall back silently, over seeded stores.
#include "state/settingscatalogue.h"
#include "tests/support/testsupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

using namespace velmora;
using velmora::test::TemporaryStore;

class TstCatalogue : public QObject {
    Q_OBJECT

private slots:
    void flags_data();
    void flags();
    void replacementPosition_data();
    void replacementPosition();
    void firstRunDefaults_data();
    void firstRunDefaults();
    void fallbacks_data();
    void fallbacks();
};

void TstCatalogue::flags_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<catalogue::Flag>("flag");
    QTest::newRow("true") << "true" << catalogue::Flag::True;
    QTest::newRow("false") << "false" << catalogue::Flag::False;
    QTest::newRow("capitals are neither") << "TRUE" << catalogue::Flag::Neither;
    QTest::newRow("padded is neither") << " true" << catalogue::Flag::Neither;
    QTest::newRow("1 is neither") << "1" << catalogue::Flag::Neither;
    QTest::newRow("empty is neither") << "" << catalogue::Flag::Neither;
}

void TstCatalogue::flags() {
    QFETCH(QString, text);
    QFETCH(catalogue::Flag, flag);
    QCOMPARE(catalogue::flagOf(text), flag);
    if (flag != catalogue::Flag::Neither)
        QCOMPARE(catalogue::flagText(flag == catalogue::Flag::True), text);
}

void TstCatalogue::replacementPosition_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // -1: not found
    QTest::newRow("a is the first item") << "a" << 0;
    QTest::newRow("y is item 23, after w") << "y" << 23;
    QTest::newRow("z is the last item") << "z" << 24;
    QTest::newRow("mn found where m is") << "mn" << 12;
    QTest::newRow("x is not offered") << "x" << -1;
    QTest::newRow("capital Y is not found") << "Y" << -1;
    QTest::newRow("empty text is not found") << "" << -1;
    QTest::newRow("wx spans the gap: not found") << "wx" << -1;
}

void TstCatalogue::replacementPosition() {
    QFETCH(QString, text);
    QFETCH(int, position);
    QCOMPARE(catalogue::replacementPosition(text).value_or(-1), position);
}

void TstCatalogue::firstRunDefaults_data() {
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("programKey"); // as stored afterwards, compact

    const QByteArray defaults = R"({"Auto update":"true","Detailed solution":"true",)"
                                R"("Keep window position":"true","Language":"%1",)"
                                R"("Replacement":"y"})";
    QTest::newRow("no store, Russian locale")
        << QByteArray() << "ru_RU" << true << QByteArray(defaults).replace("%1", "Russian");
    QTest::newRow("empty store, Ukrainian locale")
        << QByteArray("{}") << "uk_UA" << true << QByteArray(defaults).replace("%1", "Ukrainian");
    QTest::newRow("other roots only, German locale")
        << QByteArray(R"({"HKEY_CURRENT_USER":{"Control Panel\Desktop":{"LogPixels":96}}})")
        << "de_DE" << true << QByteArray(defaults).replace("%1", "English");
    QTest::newRow("C locale") << QByteArray() << "C" << true
                              << QByteArray(defaults).replace("%1", "English");
    QTest::newRow("an empty key is left alone")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{}}})") << "ru_RU"
        << false << QByteArray("{}");
    QTest::newRow("a key with values is left alone")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{"SOFTWARE\\Velmora\\3.2":{"Language":"English"}}})")
        << "ru_RU" << false << QByteArray(R"({"Language":"English"})");
}

void TstCatalogue::firstRunDefaults() {
    QFETCH(QByteArray, store);
    QFETCH(QString, locale);
    QFETCH(bool, written);
    QFETCH(QByteArray, programKey);
    TemporaryStore temporary;
    if (!store.isNull())
        temporary.seed(store);
    QCOMPARE(catalogue::writeFirstRunDefaults(locale), written);
    QFile file(temporary.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject key = QJsonDocument::fromJson(file.readAll())
                                .object()
                                .value(QStringLiteral("HKEY_LOCAL_MACHINE"))
                                .toObject()
                                .value(QStringLiteral("SOFTWARE\\Velmora\\3.2"))
                                .toObject();
    QCOMPARE(QJsonDocument(key).toJson(QJsonDocument::Compact), programKey);
}

void TstCatalogue::fallbacks_data() {
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("commonAppData"); // "XDG": the user's XDG data folder
    QTest::addColumn<int>("left");              // -1: no value
    QTest::addColumn<QString>("version");

    QTest::newRow("nothing stored") << QByteArray("{}") << "" << "XDG" << -1 << "";
    QTest::newRow("strings and integers as stored")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{
            "SOFTWARE\\Velmora\\3.2":{"Language":"English","Keep window position_x":-12},
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders":
                {"Common AppData":"/srv/shared"},
            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion":{"CurrentVersion":"6.1"}}})")
        << "English" << "/srv/shared" << -12 << "6.1";
    QTest::newRow("wrong types fall back")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{
            "SOFTWARE\\Velmora\\3.2":{"Language":3,"Keep window position_x":"40"},
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders":
                {"Common AppData":7},
            "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion":{"CurrentVersion":61}}})")
        << "Russian" << "XDG" << -1 << "0";
    QTest::newRow("value names ignore case")
        << QByteArray(R"({"HKEY_LOCAL_MACHINE":{"software\\velmora\\3.2":{"LANGUAGE":"Ukrainian"}}})")
        << "Ukrainian" << "XDG" << -1 << "";
}

void TstCatalogue::fallbacks() {
    QFETCH(QByteArray, store);
    QFETCH(QString, language);
    QFETCH(QString, commonAppData);
    QFETCH(int, left);
    QFETCH(QString, version);
    TemporaryStore temporary;
    temporary.seed(store);
    if (commonAppData == QLatin1String("XDG"))
        commonAppData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);

    QCOMPARE(catalogue::startupLanguage(), language);
    QCOMPARE(catalogue::commonAppDataFolder(), commonAppData);
    QCOMPARE(catalogue::storedEdge(catalogue::WindowLeft).value_or(-1), left);
    QCOMPARE(catalogue::windowsVersion(), version);
    // Reading never writes: the store file is as it was seeded.
    QFile file(temporary.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), store);
}

QTEST_GUILESS_MAIN(TstCatalogue)
#include "tst_catalogue.moc"
