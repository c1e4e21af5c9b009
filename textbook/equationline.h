#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;

namespace velmora::textbook {

// The line above the textbook view's solution where an equation is typed as a book prints it:
// its label, an editable drop-down of the equations last solved with Enter (kept in the store),
// and under it why a line was refused. It reports what the student does; the window solves.
class EquationLine : public QWidget {
    Q_OBJECT
public:
    explicit EquationLine(QWidget* parent = nullptr);

    QString text() const;
    // Puts a text in the line without reporting it as edited; a refusal shown goes.
    void setText(const QString& text);
    // Shows why the line was refused, as plain text; an empty text hides it.
    void setRefusal(const QString& words);
    QString refusal() const;
    // Puts the line first in the drop-down, once, and keeps the list in the store.
    void remember(const QString& line);
    QStringList history() const;
    // The label's caption, with its mnemonic ("&Equation:").
    void setLabelText(const QString& caption);
    // Gives the line the keyboard, its text selected for typing over.
    void focusLine();
    QComboBox* box() const { return m_box; }

signals:
    // The text as the student changed it: typed, pasted, or chosen from the drop-down.
    void edited(const QString& text);
    // Enter in the line.
    void entered(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showHistory(const QStringList& history);

    QLabel* m_label;
    QComboBox* m_box;
    QLabel* m_refusal;
};

} // namespace velmora::textbook
