#pragma once

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class TrigPage;
}

class QButtonGroup;
class QLineEdit;

namespace velmora {

enum class TrigFunction;

// The trigonometry page of the main window: the choice of function, the angle and value
// fields, and the Calculate button. The evaluation itself is the trigonometry core.
class TrigPage : public QWidget {
    Q_OBJECT
public:
    explicit TrigPage(QWidget* parent = nullptr);
    ~TrigPage() override;

    // Prepares the page for angle entry (sin, cos, tg, ctg).
    void choice1();
    // Prepares the page for value entry (arcsin, arccos, arcctg).
    void choice2();
    void Edit9Change();
    void Edit10Change();
    // Evaluates the chosen function and writes the answer into the output field.
    void Button2Click();

    // Puts the "Trigonometry" texts on the page (the tab caption is the main window's) and
    // renews the accessible names.
    void language();

    // Accessible names from the labels' current texts; to be called whenever captions change.
    void updateAccessibleNames();

private:
    void prepareEntry(QLineEdit* input, QLineEdit* output);
    void applyChangeRule(const QLineEdit* field);
    std::optional<TrigFunction> checkedFunction() const;

    std::unique_ptr<Ui::TrigPage> m_ui;
    // The function buttons, each with its function as its id; arctg, which is never offered,
    // has none.
    QButtonGroup* m_functions;
};

} // namespace velmora
