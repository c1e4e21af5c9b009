#pragma once

#include <QDialog>
#include <QRect>

#include <memory>

namespace Ui {
class TForm3;
}

namespace velmora {

// The settings dialog, shown modally from the File menu: the interface language, the update
// check and the detailed solution at start-up, keeping the window position, and the letter that
// replaces x² in a biquadratic equation. It reads the store afresh at every showing and writes
// it on OK or Apply. No button is the default or the cancel button: Enter and Escape press
// nothing.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    // Height of the band along the bottom that the glass layout draws the lower buttons in.
    static constexpr int GlassBandHeight = 36;

    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // Prepares each showing: the glass probe, the stored settings onto the controls (each
    // control unchanged unless the stored text names one of its states), then the texts.
    // A stored value of the wrong type or a "Settings" line 3 or 8 that is not an integer fails
    // and leaves the rest undone.
    void FormShow();
    // Puts the defaults on the controls; nothing is saved until OK or Apply.
    void ButtonDefaultClick();
    // Saves, loads the saved language's texts, has the main window re-apply its texts, closes.
    void ButtonOKClick();
    // Closes without saving, then has the main window re-apply its texts (an earlier Apply
    // may have changed the language).
    void ButtonCancelClick();
    // Saves, loads the saved language's texts and applies them to this dialog.
    void ButtonApplyClick();
    // Writes the controls' state to the store and sets the language name. A refused write
    // fails and stops there.
    void conservation();
    // Fills the text tables from the file of the current language name.
    void LoadLang();
    // Puts the "Settings" table onto the dialog. Lines 3 and 8 are the left edges of the two
    // selectors; one that is not an integer fails and leaves the remaining captions as they are.
    void language();

signals:
    // The main window is to put the text tables onto its controls: after OK saved, and after
    // Cancel closed the dialog. The dialog sits below the main window and does not call it.
    void mainWindowTextsRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void probeGlass();
    void useGlassLayout();
    QRect glassBand() const;
    void readSettings();
    void nameSelectorsFromLabels();

    std::unique_ptr<Ui::TForm3> m_ui;
    bool m_glass = false; // once applied, the glass layout stays for the run
};

} // namespace velmora
