#include "textbook/equationline.h"

#include "platform/base/failure.h"
#include "state/settingscatalogue.h"
#include "textbook/equationhistory.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace velmora::textbook {
namespace {

QStringList storedHistory() {
    try {
        return equationHistoryOf(catalogue::find(catalogue::TextbookEquations).valueOr({}));
    } catch (const Failure&) {
        return {}; // an unusable store was reported at start-up
    }
}

} // namespace

EquationLine::EquationLine(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_box(new QComboBox(this)),
      m_refusal(new QLabel(this)) {
    m_box->setObjectName(QStringLiteral("equationLine"));
    m_box->setEditable(true);
    // The list is kept here, in its own order; and no inline completion, which would solve
    // an older equation while the student is still typing a new one.
    m_box->setInsertPolicy(QComboBox::NoInsert);
    m_box->setCompleter(nullptr);
    m_box->setMaxVisibleItems(EquationHistoryLength);
    m_box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_box->setMinimumContentsLength(16);
    m_box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_box->lineEdit()->setPlaceholderText(QStringLiteral("(2x − 1)² = 9"));
    m_label->setBuddy(m_box);
    m_refusal->setObjectName(QStringLiteral("equationRefusal"));
    m_refusal->setTextFormat(Qt::PlainText);
    m_refusal->setWordWrap(true);
    m_refusal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_refusal->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label, 0, 0);
    layout->addWidget(m_box, 0, 1);
    layout->addWidget(m_refusal, 1, 1);
    layout->setColumnStretch(1, 1);

    showHistory(storedHistory());
    m_box->installEventFilter(this);
    connect(m_box, &QComboBox::editTextChanged, this, &EquationLine::edited);
    connect(m_box->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { emit entered(m_box->currentText()); });
}

QString EquationLine::text() const {
    return m_box->currentText();
}

void EquationLine::setText(const QString& text) {
    const QSignalBlocker quiet(m_box);
    m_box->setEditText(text);
    setRefusal({});
}

void EquationLine::setRefusal(const QString& words) {
    m_refusal->setText(words);
    m_refusal->setVisible(!words.isEmpty());
    m_box->setAccessibleDescription(words);
}

QString EquationLine::refusal() const {
    return m_refusal->text();
}

void EquationLine::remember(const QString& line) {
    const QStringList history = withLatestEquation(this->history(), line);
    showHistory(history);
    try {
        catalogue::write(catalogue::TextbookEquations, storedEquationHistory(history));
    } catch (const Failure&) {
        // An unusable store was reported at start-up; the list lasts while the window does.
    }
}

QStringList EquationLine::history() const {
    QStringList lines;
    for (int i = 0; i < m_box->count(); ++i)
        lines << m_box->itemText(i);
    return lines;
}

void EquationLine::setLabelText(const QString& caption) {
    m_label->setText(caption);
    m_box->setAccessibleName(QString(caption).remove(u'&').remove(u':').trimmed());
}

void EquationLine::focusLine() {
    m_box->setFocus(Qt::ShortcutFocusReason);
    m_box->lineEdit()->selectAll();
}

bool EquationLine::eventFilter(QObject* watched, QEvent* event) {
    // The copy key copies the line's selection; with nothing selected it is the window's, which
    // copies the solution.
    if (watched == m_box && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !m_box->lineEdit()->hasSelectedText()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EquationLine::showHistory(const QStringList& history) {
    // Refilling the list moves the edit text to its first line; the text typed stays.
    const QSignalBlocker quiet(m_box);
    const QString text = m_box->currentText();
    m_box->clear();
    m_box->addItems(history);
    m_box->setCurrentIndex(-1);
    m_box->setEditText(text);
}

} // namespace velmora::textbook
