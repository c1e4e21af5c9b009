#include "settings/settingsdialog.h"
#include "ui_settingsdialog.h"

#include "platform/base/failure.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/looks.h"
#include "platform/ui/uifont.h"
#include "state/global.h"
#include "state/language.h"
#include "state/settingscatalogue.h"
#include "state/tablelines.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QShowEvent>

#include <algorithm>

namespace velmora {

namespace {

// A "Settings" line that holds a pixel position, read as a decimal integer.
int integerLine(SettingsLine line) {
    const QString text = velmora::text(line);
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        throw Failure(FailureKind::NotAnInteger, text);
    return value;
}

// A check box follows a stored flag only when the text is "true" or "false".
void followFlag(QCheckBox* box, const QString& stored) {
    switch (catalogue::flagOf(stored)) {
    case catalogue::Flag::True:
        box->setChecked(true);
        break;
    case catalogue::Flag::False:
        box->setChecked(false);
        break;
    case catalogue::Flag::Neither:
        break;
    }
}

// "Language" is one of the reads that fall back silently: a value that is not a string names
// no language, so the selector stays as it is.
QString storedLanguageName() {
    return catalogue::find(catalogue::Language).valueOr(QString());
}

} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TForm3>()) {
    setFont(windowFont());
    m_ui->setupUi(this);
    // Enter presses the focused button; none of them is a default button.
    letEnterPressFocusedButtons();
    // A dialog frame with a title and no buttons in it: no close button, no system menu.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    // Centred on the main window at every showing, wherever it was left the last time.
    centreOnEveryShowing(this);
    // Labels are as wide as their captions. A selector is at least as wide as its longest
    // item, so no item is cut in the face the desktop substitutes for the window font.
    setAutoSizedText(m_ui->Label1, m_ui->Label1->text());
    setAutoSizedText(m_ui->Label2, m_ui->Label2->text());
    for (QComboBox* list : {m_ui->ComboBox1, m_ui->ComboBox2}) {
        list->ensurePolished();
        list->resize(std::max(list->width(), list->sizeHint().width()), list->height());
    }
    nameSelectorsFromLabels();

    connectGuarded(m_ui->ButtonDefault, &QPushButton::clicked, this,
                   [this] { ButtonDefaultClick(); });
    connectGuarded(m_ui->ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connectGuarded(m_ui->ButtonCancel, &QPushButton::clicked, this,
                   [this] { ButtonCancelClick(); });
    connectGuarded(m_ui->ButtonApply, &QPushButton::clicked, this, [this] { ButtonApplyClick(); });
}

TForm3::~TForm3() = default;

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    // There is no cancel button, so Escape does not close the dialog. Enter finds no default
    // button and presses nothing; on a focused button it presses that button
    // (letEnterPressFocusedButtons), before the dialog sees it.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm3::FormShow() {
    probeGlass();
    readSettings();
    language();
}

void TForm3::probeGlass() {
    // The desktop's composition values. Linux has none in the store, so the plain layout stays
    // unless they were stored. A read that fails ends the probe silently; reading creates no
    // key. The other outcomes switch whole-window alpha blending off, which is never on, so
    // only the glass outcome changes anything.
    const StoredValue<int> blend = catalogue::find(catalogue::ColorizationOpaqueBlend);
    if (!blend.has() || blend.value != 0)
        return;
    const StoredValue<int> composition = catalogue::find(catalogue::Composition);
    if (composition.has() && composition.value == 1)
        useGlassLayout();
}

void TForm3::useGlassLayout() {
    // Linux has no glass frame; a band painted along the bottom holds the lower buttons.
    m_glass = true;
    m_ui->ButtonOK->move(0, 192);
    m_ui->ButtonCancel->move(112, 192);
    m_ui->ButtonApply->move(224, 192);
    update();
}

QRect TForm3::glassBand() const {
    return QRect(0, height() - GlassBandHeight, width(), GlassBandHeight);
}

void TForm3::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!m_glass)
        return;
    const QRect band = glassBand();
    const QColor face = palette().color(QPalette::Window);
    QLinearGradient shade(band.topLeft(), band.bottomLeft());
    shade.setColorAt(0, face.darker(106));
    shade.setColorAt(1, face.darker(118));
    QPainter painter(this);
    painter.fillRect(band, shade);
    painter.setPen(face.darker(135));
    painter.drawLine(band.topLeft(), band.topRight());
}

void TForm3::readSettings() {
    using namespace catalogue;
    // The language the window shows, which is the stored one unless that selects no file.
    const QString name = shownLanguage(storedLanguageName());
    for (int item = 0; item < int(LanguageNames.size()); ++item) {
        if (name == LanguageNames[item]) {
            m_ui->ComboBox1->setCurrentIndex(item);
            break;
        }
    }
    followFlag(m_ui->CheckBox1, read(AutoUpdate));
    followFlag(m_ui->CheckBox2, read(DetailedSolution));
    followFlag(m_ui->CheckBox3, read(KeepWindowPosition));
    // Item i of the letter list is letter i of the replacement letters.
    if (const auto letter = replacementPosition(read(Replacement)))
        m_ui->ComboBox2->setCurrentIndex(*letter);
}

void TForm3::language() {
    // Each selector is renamed with its label, so a failure part-way leaves no selector named
    // after a caption that is no longer shown.
    setWindowTitle(text(SettingsLine::Caption));
    setAutoSizedText(m_ui->Label1, text(SettingsLine::Language));
    m_ui->ComboBox1->setAccessibleName(m_ui->Label1->text());
    m_ui->ComboBox1->move(integerLine(SettingsLine::LanguageListLeft), m_ui->ComboBox1->y());
    m_ui->CheckBox1->setText(text(SettingsLine::AutoUpdate));
    m_ui->CheckBox2->setText(text(SettingsLine::DetailedSolution));
    m_ui->CheckBox3->setText(text(SettingsLine::KeepWindowPosition));
    setAutoSizedText(m_ui->Label2, text(SettingsLine::Replacement));
    m_ui->ComboBox2->setAccessibleName(m_ui->Label2->text());
    m_ui->ComboBox2->move(integerLine(SettingsLine::ReplacementListLeft), m_ui->ComboBox2->y());
    m_ui->ButtonDefault->setText(text(SettingsLine::Defaults));
    m_ui->ButtonOK->setText(text(SettingsLine::Ok));
    m_ui->ButtonCancel->setText(text(SettingsLine::Cancel));
    m_ui->ButtonApply->setText(text(SettingsLine::Apply));
}

void TForm3::nameSelectorsFromLabels() {
    m_ui->ComboBox1->setAccessibleName(m_ui->Label1->text());
    m_ui->ComboBox2->setAccessibleName(m_ui->Label2->text());
}

void TForm3::ButtonDefaultClick() {
    using namespace catalogue;
    for (int item = 0; item < int(LanguageNames.size()); ++item) {
        if (LanguageNames[item] == userLocaleLanguage())
            m_ui->ComboBox1->setCurrentIndex(item);
    }
    m_ui->CheckBox1->setChecked(DefaultAutoUpdate);
    m_ui->CheckBox2->setChecked(DefaultDetailedSolution);
    m_ui->CheckBox3->setChecked(DefaultKeepWindowPosition);
    m_ui->ComboBox2->setCurrentIndex(replacementPosition(DefaultReplacement).value_or(0));
}

void TForm3::ButtonOKClick() {
    conservation();
    LoadLang();
    emit mainWindowTextsRequested();
    accept();
}

void TForm3::ButtonCancelClick() {
    reject();
    emit mainWindowTextsRequested();
}

void TForm3::ButtonApplyClick() {
    conservation();
    LoadLang();
    language();
}

void TForm3::conservation() {
    using namespace catalogue;
    const int item = m_ui->ComboBox1->currentIndex();
    if (item >= 0 && item < int(LanguageNames.size())) {
        const QString name = LanguageNames[item];
        write(Language, name);
        Global::setLanguageName(name);
    }
    write(AutoUpdate, flagText(m_ui->CheckBox1->isChecked()));
    write(DetailedSolution, flagText(m_ui->CheckBox2->isChecked()));
    write(KeepWindowPosition, flagText(m_ui->CheckBox3->isChecked()));
    write(Replacement, m_ui->ComboBox2->currentText());
}

void TForm3::LoadLang() {
    loadLanguage(Global::languageName());
}

} // namespace velmora
