#include "solver/equationpage.h"
#include "ui_equationpage.h"

#include "numbers/numberformat.h"
#include "numbers/numberkeyfilter.h"
#include "platform/base/failure.h"
#include "platform/base/locale.h"
#include "platform/ui/errorreport.h"
#include "platform/ui/looks.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/uifont.h"
#include "solver/equation.h"
#include "state/global.h"
#include "state/moretexts.h"
#include "state/settingscatalogue.h"
#include "state/tablelines.h"

#include <QTextBlockFormat>
#include <QTextCursor>

#include <algorithm>

namespace velmora {
namespace {

// The detailed solution is drawn one line every 15 pixels, whatever the font's own spacing,
// so the fitted box always shows every line.
constexpr int SolutionLineHeight = 15;

// The formula panel's type size; a longer equation is made smaller to fit the panel.
constexpr int FormulaPixelSize = 16;

// The report for a coefficient that is not a number, with the field focused.
[[noreturn]] void refuseCoefficient(QLineEdit* field, char letter) {
    field->setFocus();
    throw Failure(refusedCoefficientText(letter));
}

} // namespace

EquationPage::EquationPage(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::EquationPage>()) {
    // The form's set-up makes the page without a parent and adds it to the page control
    // afterwards; naming the window font at once spares every control a change of font then.
    setFont(windowFont());
    m_ui->setupUi(this);

    const QFont coefficientLetters = letterFont();
    // The letters are sized to their text in this font.
    for (QLabel* letter : {m_ui->Label1, m_ui->Label2, m_ui->Label3}) {
        letter->setFont(coefficientLetters);
        letter->resize(letter->sizeHint());
    }
    QFont panelFont = font();
    panelFont.setPixelSize(FormulaPixelSize);
    m_ui->Panel1->setFont(panelFont);

    // A number longer than its field shows whole in a tool tip.
    for (QLineEdit* field : {m_ui->Edit4, m_ui->Edit5, m_ui->Edit6, m_ui->Edit7, m_ui->Edit8})
        showWholeTextAsToolTip(field);

    auto* filter = new NumberKeyFilter(this, [this] { raschet(); });
    for (QLineEdit* field : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3})
        filter->watch(field);

    connectGuarded(m_ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connectGuarded(m_ui->ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    updateAccessibleNames();
}

EquationPage::~EquationPage() = default;

void EquationPage::Button1Click() {
    raschet();
}

void EquationPage::ComboBox1Change() {
    showFormula(m_ui->ComboBox1->currentIndex() == 1 ? QStringLiteral("ax⁴ + bx² + c = 0")
                                                     : QStringLiteral("ax² + bx + c = 0"));
    m_ui->Edit1->setFocus();
}

void EquationPage::showFormula(const QString& formula) {
    // A long equation is written smaller rather than cut.
    setFittedText(m_ui->Panel1, formula, FormulaPixelSize, 8);
    // A label with an accessible name of its own would hide its text from screen readers.
    m_ui->Panel1->setAccessibleName(formula);
}

std::array<QWidget*, 6> EquationPage::resultControls() const {
    return {m_ui->Edit4, m_ui->Edit5, m_ui->Edit6, m_ui->Edit7, m_ui->Edit8, m_ui->Memo1};
}

void EquationPage::prepareOnShow() {
    m_ui->Edit1->setFocus();
    for (QWidget* result : resultControls())
        setActiveLook(result, false);
}

void EquationPage::resetResults() {
    for (QLineEdit* field : {m_ui->Edit4, m_ui->Edit5, m_ui->Edit6, m_ui->Edit7, m_ui->Edit8})
        field->clear();
    m_ui->Memo1->clear();
    m_lineCount = 0;
    for (QWidget* result : resultControls())
        setActiveLook(result, false);
}

void EquationPage::raschet() {
    resetResults();

    const QChar separator = localeDecimalSeparator();
    const CoefficientReading reading =
        readCoefficients({m_ui->Edit1->text(), m_ui->Edit2->text(), m_ui->Edit3->text()},
                         {separator, separator, separator});
    const EquationType type =
        m_ui->ComboBox1->currentIndex() == 1 ? EquationType::Biquadratic : EquationType::Quadratic;
    Equation read;
    read.coefficients = reading.coefficients;
    read.type = type;
    read.separator = separator;
    for (const QLineEdit* field : {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3})
        read.decimalForms = read.decimalForms || field->text().contains(separator);
    switch (reading.outcome) {
    case CoefficientReading::MissingA:
    case CoefficientReading::ZeroA:
        showMessageBox(text(reading.outcome == CoefficientReading::MissingA ? MessageLine::MissingA
                                                                            : MessageLine::ZeroA),
                       text(MessageLine::Error), MessageFlags::ErrorOk);
        m_ui->Edit1->setFocus();
        if (reading.outcome == CoefficientReading::ZeroA && reading.complete)
            emit linearEquationTyped(read);
        return;
    case CoefficientReading::NotANumber: {
        QLineEdit* const fields[] = {m_ui->Edit1, m_ui->Edit2, m_ui->Edit3};
        refuseCoefficient(fields[reading.refusedLetter - 'a'], reading.refusedLetter);
    }
    case CoefficientReading::Accepted:
        break;
    }

    const EquationNumbers numbers = solveEquation(reading.coefficients, type);
    // D is shown before the substitution letter is read, so a letter of the wrong type leaves
    // exactly the discriminant on screen.
    showResultText(m_ui->Edit4, formatGeneral(numbers.d.digits(), separator));
    setActiveLook(m_ui->Edit4, true);

    QString letter;
    if (type == EquationType::Biquadratic)
        letter = catalogue::read(catalogue::Replacement);
    const EquationText text = describeEquation(
        numbers, letter, separator, {moreText(MoreText::AnswerWord), moreText(MoreText::NoRoots)});
    writeSolution(text.lines);
    showFormula(text.lines.front());
    setActiveLook(m_ui->Memo1, true);

    if (text.noRealRoots) {
        showMessageBox(velmora::text(MessageLine::NoRealRoots),
                       velmora::text(MessageLine::Information), MessageFlags::InformationOk);
    } else {
        QLineEdit* const rootFields[] = {m_ui->Edit5, m_ui->Edit6, m_ui->Edit7, m_ui->Edit8};
        for (std::size_t i = 0; i < text.rootFields.size(); ++i) {
            if (text.rootFields[i].isEmpty())
                continue;
            showResultText(rootFields[i], text.rootFields[i]);
            setActiveLook(rootFields[i], true);
        }
    }
    read.letter = letter;
    emit solved(read);
}

void EquationPage::writeSolution(const std::vector<QString>& lines) {
    QString all;
    for (const QString& line : lines) {
        if (!all.isEmpty())
            all += QLatin1Char('\n');
        all += line;
    }
    m_ui->Memo1->setPlainText(all);
    m_lineCount = static_cast<quint8>(lines.size());

    QTextCursor cursor(m_ui->Memo1->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat spacing;
    spacing.setLineHeight(SolutionLineHeight, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(spacing);
}

void EquationPage::setSolutionBoxHeights(int memoHeight, int groupHeight) {
    m_ui->Memo1->resize(m_ui->Memo1->width(), memoHeight);
    m_ui->GroupBox4->resize(m_ui->GroupBox4->width(), groupHeight);
    // Fitted to its lines, the box needs no scroll bar.
    m_ui->Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int EquationPage::shortenSolutionBox(int by) {
    constexpr int ShortestMemo = 2 * 15 + 27; // two lines, as solutionBoxHeights counts them
    const int taken = std::clamp(m_ui->Memo1->height() - ShortestMemo, 0, std::max(by, 0));
    setSolutionBoxHeights(m_ui->Memo1->height() - taken, m_ui->GroupBox4->height() - taken);
    if (taken > 0)
        m_ui->Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return taken;
}

void EquationPage::language() {
    using S = SquareRootLine;
    setAutoSizedText(m_ui->Label7, text(S::EquationType));
    // Refilling the list emits no "activated", so the formula panel keeps what it shows.
    m_ui->ComboBox1->clear();
    m_ui->ComboBox1->addItems({text(S::Quadratic), text(S::Biquadratic)});
    m_ui->ComboBox1->setCurrentIndex(0);
    m_ui->GroupBox1->setTitle(text(S::Coefficients));
    m_ui->Button1->setText(text(S::Calculate));
    m_ui->GroupBox2->setTitle(text(S::Trinomial));
    m_ui->GroupBox3->setTitle(text(S::ShortAnswer));
    setAutoSizedText(m_ui->Label4, text(S::Discriminant));
    setAutoSizedText(m_ui->Label5, text(S::Roots));
    m_ui->GroupBox4->setTitle(text(S::DetailedSolution));
    updateAccessibleNames();
}

void EquationPage::updateAccessibleNames() {
    m_ui->Edit1->setAccessibleName(QStringLiteral("a"));
    m_ui->Edit2->setAccessibleName(QStringLiteral("b"));
    m_ui->Edit3->setAccessibleName(QStringLiteral("c"));
    m_ui->ComboBox1->setAccessibleName(m_ui->Label7->text());
    m_ui->Edit4->setAccessibleName(m_ui->Label4->text());
    QLineEdit* const rootFields[] = {m_ui->Edit5, m_ui->Edit6, m_ui->Edit7, m_ui->Edit8};
    for (int i = 0; i < 4; ++i)
        rootFields[i]->setAccessibleName(m_ui->Label5->text() + QLatin1Char(' ') +
                                         QString::number(i + 1));
    m_ui->Panel1->setAccessibleName(m_ui->Panel1->text());
    m_ui->Memo1->setAccessibleName(m_ui->GroupBox4->title());
}

} // namespace velmora
