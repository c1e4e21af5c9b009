#pragma once

#include "platform/profile/profile.h"
#include "update/installerplan.h"

#include <QDialog>

#include <memory>

class QTimer;

namespace Ui {
class TForm4;
}

namespace velmora {

class TaskbarProgressIndicator;

// The update dialog, modal: the running and the offered version, the installer's size, the
// features box that unfolds below, and the installer download's progress in the dialog and on the
// launcher. Its texts come from the "Update" table and the manifest the update check found. The
// download itself belongs to the update controller, which the dialog asks for it and which tells
// the dialog how it goes; closing the dialog abandons it.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // The manifest the update check found at the address `source`, shown from the next showing
    // (or language()) on.
    void setManifest(const ProfileFile& manifest, const QString& source);
    const ProfileFile& manifest() const { return m_manifest; }

    // At every show: the banner, the features of the current language, then the texts.
    void FormShow();
    // Puts the "Update" table and the manifest's texts on the dialog; again and again gives the
    // same texts. Sets InstallerSize.
    void language();
    // Starts the unfold or fold animation.
    void Button1Click();
    // Asks for the installer download, unless one runs.
    void Button2Click();
    // The download's progress tick: shows the last count the download told.
    void Timer1Timer();

    // What the controller tells of the download: it began (the status line, the button, the
    // ticks), the bytes so far, and its end without a start.
    void downloadStarted();
    void downloadProgress(qint64 bytes);
    void downloadFailed(UpdateFailure failure, const QString& installer);
    // Stopped without an outcome (the program ends): back to no download, no status.
    void downloadStopped();
    // One step of the unfold or fold animation.
    void Timer2Timer();

    // The installer's size from the manifest's "Size 1" (0 when missing).
    int InstallerSize() const { return m_installerSize; }
    TaskbarProgressIndicator* taskbarIndicator() const { return m_taskbar; }

signals:
    void downloadRequested();
    // Closed while its download ran: the download is to end, and nothing start.
    void downloadAbandoned();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Back to no download: no ticks, no launcher bar, the button pressable.
    void endDownload();
    // The status line: one line of progress above the bar, or a failure that takes the bar's
    // place and up to three lines.
    void setStatus(const QString& text, bool failure = false);
    void nameKeptInstaller();

    std::unique_ptr<Ui::TForm4> m_ui;
    QTimer* m_timer1;
    QTimer* m_timer2;
    TaskbarProgressIndicator* m_taskbar;
    ProfileFile m_manifest;
    QString m_source;
    bool m_downloading = false;
    qint64 m_received = -1; // the download's last count; -1 before its transfer has begun
    std::shared_ptr<void> m_folderHold; // while shown
    int m_installerSize = 0;
    bool m_unfolded = false; // the features box is open, or opens at the end of the animation
};

} // namespace velmora
