#include "trig/trigpage.h"
#include "ui_trigpage.h"

#include "numbers/numberkeyfilter.h"
#include "platform/base/locale.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/looks.h"
#include "platform/ui/uifont.h"
#include "state/global.h"
#include "trig/trigcore.h"

namespace velmora {

TrigPage::TrigPage(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::TrigPage>()) {
    // The form's set-up makes the page without a parent and adds it to the page control
    // afterwards; naming the window font at once spares every control a change of font then.
    setFont(windowFont());
    m_ui->setupUi(this);
    for (QLineEdit* field : {m_ui->Edit9, m_ui->Edit10})
        setFieldColour(field, FieldColour::ButtonFace);

    // Enter neither calculates nor is inserted on this page.
    auto* filter = new NumberKeyFilter(this);
    filter->watch(m_ui->Edit9);
    filter->watch(m_ui->Edit10);

    // A radio button acts when it becomes checked; clicking the checked one does nothing.
    QRadioButton* const direct[] = {m_ui->RadioButton1, m_ui->RadioButton2, m_ui->RadioButton3,
                                    m_ui->RadioButton4};
    QRadioButton* const inverse[] = {m_ui->RadioButton5, m_ui->RadioButton6, m_ui->RadioButton7,
                                     m_ui->RadioButton8};
    for (QRadioButton* button : direct)
        connectGuarded(button, &QRadioButton::toggled, this, [this, button] {
            if (button->isChecked())
                choice1();
        });
    for (QRadioButton* button : inverse)
        connectGuarded(button, &QRadioButton::toggled, this, [this, button] {
            if (button->isChecked())
                choice2();
        });
    connectGuarded(m_ui->Edit9, &QLineEdit::textChanged, this, [this] { Edit9Change(); });
    connectGuarded(m_ui->Edit10, &QLineEdit::textChanged, this, [this] { Edit10Change(); });
    connectGuarded(m_ui->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    updateAccessibleNames();
}

TrigPage::~TrigPage() = default;

void TrigPage::prepareEntry(QLineEdit* input, QLineEdit* output) {
    m_ui->Edit9->clear();
    m_ui->Edit10->clear();
    input->setEnabled(true);
    output->setEnabled(false);
    setFieldColour(input, FieldColour::Window);
    setFieldColour(output, FieldColour::ButtonFace);
    input->setFocus();
}

void TrigPage::choice1() {
    prepareEntry(m_ui->Edit9, m_ui->Edit10);
}

void TrigPage::choice2() {
    prepareEntry(m_ui->Edit10, m_ui->Edit9);
}

void TrigPage::applyChangeRule(const QLineEdit* field) {
    // A lone sign or separator would read as a number (or fail) without the user meaning one.
    const QString text = field->text();
    const bool incomplete = text.isEmpty() || text == QLatin1String("-") ||
                            text == QLatin1String(",") ||
                            (text.size() == 1 && text.front() == localeDecimalSeparator());
    m_ui->Button2->setEnabled(!incomplete);
}

void TrigPage::Edit9Change() {
    applyChangeRule(m_ui->Edit9);
}

void TrigPage::Edit10Change() {
    applyChangeRule(m_ui->Edit10);
}

std::optional<TrigFunction> TrigPage::checkedFunction() const {
    // Examined in the order of the buttons; the disabled arctg can never be checked.
    const std::pair<const QRadioButton*, TrigFunction> buttons[] = {
        {m_ui->RadioButton1, TrigFunction::Sin},    {m_ui->RadioButton2, TrigFunction::Cos},
        {m_ui->RadioButton3, TrigFunction::Tg},     {m_ui->RadioButton4, TrigFunction::Ctg},
        {m_ui->RadioButton5, TrigFunction::Arcsin}, {m_ui->RadioButton6, TrigFunction::Arccos},
        {m_ui->RadioButton8, TrigFunction::Arcctg},
    };
    for (const auto& [button, function] : buttons) {
        if (button->isChecked())
            return function;
    }
    return std::nullopt;
}

void TrigPage::Button2Click() {
    const std::optional<TrigFunction> function = checkedFunction();
    if (!function)
        return;
    QLineEdit* const input = isDirect(*function) ? m_ui->Edit9 : m_ui->Edit10;
    QLineEdit* const output = isDirect(*function) ? m_ui->Edit10 : m_ui->Edit9;
    const QChar separator = localeDecimalSeparator();
    const QString text = input->text();
    // A text that is not a number ends here, before the output field changes colour.
    const double x = readTrigInput(text, separator);
    setFieldColour(output, FieldColour::Window);
    showResultText(output, trigAnswer(*function, text, x, separator));
}

void TrigPage::language() {
    const auto text = [](int line) { return Global::text(TextTable::Trigonometry, line); };
    m_ui->GroupBox5->setTitle(text(2));
    setAutoSizedText(m_ui->Label6, text(3));
    setAutoSizedText(m_ui->Label8, text(4));
    m_ui->Button2->setText(text(5));
    updateAccessibleNames();
}

void TrigPage::updateAccessibleNames() {
    m_ui->Edit9->setAccessibleName(m_ui->Label6->text());
    m_ui->Edit10->setAccessibleName(m_ui->Label8->text());
    m_ui->Button2->setAccessibleName(m_ui->Button2->text());
}

} // namespace velmora
