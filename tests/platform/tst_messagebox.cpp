// The real message box, answered by the test: the text is shown as typed, markup included.
#include "platform/ui/messagebox.h"
#include "tests/support/testsupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using velmora::AnswerOk;
using velmora::showMessageBox;

class TestMessageBox : public QObject {
    Q_OBJECT

private slots:
    void init() { velmora::test::recordTopLevelWidgets(); }
    void cleanup() { velmora::test::verifyNoWindowLeftOpen(); }
    void textIsShownLiterally_data();
    void textIsShownLiterally();
};

void TestMessageBox::textIsShownLiterally_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("bold") << QStringLiteral("<b>BOLD</b>");
    QTest::newRow("link") << QStringLiteral("<a href=\"https://example.org\">here</a>");
    QTest::newRow("table around a number") << QStringLiteral("<table><tr><td>30</td></tr></table>");
}

void TestMessageBox::textIsShownLiterally() {
    QFETCH(QString, text);
    // Such text would be taken for rich text by a label left to guess.
    QVERIFY(Qt::mightBeRichText(text));

    QString shownText;
    QString shownCaption;
    Qt::TextFormat format = Qt::AutoText;
    bool answered = false;
    // Answers the box once it is up; after a while closes whatever is open so nothing blocks.
    const QDeadlineTimer deadline(5000);
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, &poll, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box || !box->isVisible())
                continue;
            if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                shownText = label->text();
                format = label->textFormat();
            }
            shownCaption = box->windowTitle();
            answered = true;
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        }
        if (deadline.hasExpired())
            QApplication::closeAllWindows();
    });
    poll.start();

    QCOMPARE(showMessageBox(text, QStringLiteral("<i>Caption</i>"), 0x40), AnswerOk);
    QVERIFY(answered);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(shownText, text);
    QCOMPARE(shownCaption, QStringLiteral("<i>Caption</i>"));
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
