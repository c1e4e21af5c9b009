#pragma once

#include "about/productinfo.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TForm2;
}

namespace velmora {

class ValueListEditor;

// The About dialog: what the product is, in a two-column list, and buttons that open the web
// page, the version history in the help program and the licence. Shown modally from the Help
// menu; its texts are applied from the "About" table on every showing.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // The developer row shows the configured developer name; the default name is shown in the
    // language's words (About line 7). Tests hand in another name.
    explicit TForm2(QWidget* parent = nullptr,
                    const QString& developerName = QString::fromUtf16(product::DeveloperName));
    ~TForm2() override;

    void FormShow();
    // Fills the caption, the six rows and the button captions from the "About" table.
    void language();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    ValueListEditor* valueList() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The developer row's value in the loaded language.
    QString developerRow() const;

    std::unique_ptr<Ui::TForm2> m_ui;
    QString m_developerName;
};

} // namespace velmora
