#include "trig/trigpage.h"
#include "ui_trigpage.h"

#include "numbers/numberkeyfilter.h"
#include "platform/base/locale.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/looks.h"
#include "platform/ui/uifont.h"
#include "state/tablelines.h"
#include "trig/trigcore.h"

#include <QButtonGroup>
#include <QRadioButton>

#include <utility>

namespace velmora {
namespace {

// The id of the arctg button, which stands for no function the page evaluates.
constexpr int NoFunction = -2;

// The field the answer goes to: read-only, yet it takes the focus, so the answer can be selected
// and copied. Its text keeps the muted colour of a field out of use.
void makeAnswerField(QLineEdit* field) {
    field->setEnabled(true);
    field->setReadOnly(true);
    QPalette palette = field->palette();
    const QColor muted = palette.color(QPalette::Disabled, QPalette::Text);
    palette.setColor(QPalette::Active, QPalette::Text, muted);
    palette.setColor(QPalette::Inactive, QPalette::Text, muted);
    field->setPalette(palette);
}

void makeEntryField(QLineEdit* field) {
    field->setEnabled(true);
    field->setReadOnly(false);
    setFieldColour(field, FieldColour::Window);
    // A palette of its own would keep the muted text of its time as the answer field.
    QPalette palette = field->palette();
    const QPalette system = field->parentWidget() ? field->parentWidget()->palette() : palette;
    palette.setColor(QPalette::Active, QPalette::Text,
                     system.color(QPalette::Active, QPalette::Text));
    palette.setColor(QPalette::Inactive, QPalette::Text,
                     system.color(QPalette::Inactive, QPalette::Text));
    field->setPalette(palette);
}

} // namespace

TrigPage::TrigPage(QWidget* parent) : QWidget(parent), m_ui(std::make_unique<Ui::TrigPage>()) {
    // The form's set-up makes the page without a parent and adds it to the page control
    // afterwards; naming the window font at once spares every control a change of font then.
    setFont(windowFont());
    m_ui->setupUi(this);
    for (QLineEdit* field : {m_ui->Edit9, m_ui->Edit10}) {
        setFieldColour(field, FieldColour::ButtonFace);
        showWholeTextAsToolTip(field);
    }

    // Enter neither calculates nor is inserted on this page.
    auto* filter = new NumberKeyFilter(this);
    filter->watch(m_ui->Edit9);
    filter->watch(m_ui->Edit10);

    // A radio button acts when it becomes checked; clicking the checked one does nothing.
    m_functions = new QButtonGroup(this);
    const std::pair<QRadioButton*, TrigFunction> functions[] = {
        {m_ui->RadioButton1, TrigFunction::Sin},    {m_ui->RadioButton2, TrigFunction::Cos},
        {m_ui->RadioButton3, TrigFunction::Tg},     {m_ui->RadioButton4, TrigFunction::Ctg},
        {m_ui->RadioButton5, TrigFunction::Arcsin}, {m_ui->RadioButton6, TrigFunction::Arccos},
        {m_ui->RadioButton8, TrigFunction::Arcctg},
    };
    for (const auto& [button, function] : functions)
        m_functions->addButton(button, static_cast<int>(function));
    m_functions->addButton(m_ui->RadioButton7, NoFunction);
    connect(m_functions, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || id == NoFunction)
            return;
        guarded([this, id] {
            if (isDirect(static_cast<TrigFunction>(id)))
                choice1();
            else
                choice2();
        });
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
    makeEntryField(input);
    setFieldColour(output, FieldColour::ButtonFace);
    makeAnswerField(output);
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
    // No button checked gives -1; the disabled arctg can never be checked.
    const int id = m_functions->checkedId();
    if (id < 0)
        return std::nullopt;
    return static_cast<TrigFunction>(id);
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
    makeAnswerField(output);
    showResultText(output, trigAnswer(*function, text, x, separator));
}

void TrigPage::language() {
    m_ui->GroupBox5->setTitle(text(TrigonometryLine::Functions));
    setAutoSizedText(m_ui->Label6, text(TrigonometryLine::AngleValue));
    setAutoSizedText(m_ui->Label8, text(TrigonometryLine::FunctionValue));
    m_ui->Button2->setText(text(TrigonometryLine::Calculate));
    updateAccessibleNames();
}

void TrigPage::updateAccessibleNames() {
    m_ui->Edit9->setAccessibleName(m_ui->Label6->text());
    m_ui->Edit10->setAccessibleName(m_ui->Label8->text());
    m_ui->Button2->setAccessibleName(m_ui->Button2->text());
}

} // namespace velmora
