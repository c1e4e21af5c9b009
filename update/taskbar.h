#pragma once

#include <QEvent>
#include <QObject>
#include <QString>

namespace velmora {

// A non-visual component that drives the program's launcher entry on the desktop (the launcher
// progress signal on the session bus). Without a session bus it does nothing, as the taskbar
// component does where the system offers no taskbar progress.
class TaskbarComponent : public QObject {
    Q_OBJECT
public:
    explicit TaskbarComponent(QObject* owner = nullptr);
    ~TaskbarComponent() override;

    // The launcher entry driven: the one set, else the application's desktop entry
    // ("application://velmora.desktop"); empty when there is none, which drives nothing.
    QString TaskBarEntryHandle() const;
    void setTaskBarEntryHandle(const QString& entry);

    bool IsInitialized() const { return FIsInitialized; }

    // The component's two private events: initialising once the event loop runs, and updating
    // the entry.
    static QEvent::Type autoInitializeEvent();
    static QEvent::Type updateEvent();

protected:
    virtual bool DoInitialize();
    virtual void UpdateEntry();
    // Handles the two private events; everything else goes to the base.
    bool event(QEvent* event) override;

    // True when a refresh can reach the desktop at all.
    static bool launcherAvailable();

    bool FAutoInitialize = true;

private:
    QString FTaskBarEntryHandle;
    bool FIsInitialized = false;
};

enum class TaskbarProgressState { pbstMarquee, pbstNormal, pbstError, pbstPaused };

// The progress on the launcher entry. Every effective change of a property but Step refreshes the
// entry: no progress while ShowInTaskbar is false; with it, the bar at (Position - Min) of
// (Max - Min) for the normal, error and paused states, and for the marquee state a bar as the
// desktop allows when MarqueeEnabled, none otherwise. Going away clears the entry's progress.
class TaskbarProgressIndicator : public TaskbarComponent {
    Q_OBJECT
public:
    explicit TaskbarProgressIndicator(QObject* owner = nullptr);
    ~TaskbarProgressIndicator() override;

    int Min() const { return FMin; }
    // A Min above Max raises Max with it.
    void setMin(int value);
    int Max() const { return FMax; }
    // A Max below Min lowers Min with it.
    void setMax(int value);
    int Position() const { return FPosition; }
    // Stored without clamping.
    void setPosition(int value);
    bool Smooth() const { return FSmooth; }
    void setSmooth(bool value);
    bool SmoothReverse() const { return FSmoothReverse; }
    void setSmoothReverse(bool value);
    int Step() const { return FStep; }
    // Stored only; it reaches the desktop through StepIt.
    void setStep(int value);
    TaskbarProgressState ProgressBarState() const { return FProgressBarState; }
    void setProgressBarState(TaskbarProgressState value);
    bool MarqueeEnabled() const { return FMarqueeEnabled; }
    void setMarqueeEnabled(bool value);
    bool ShowInTaskbar() const { return FShowInTaskbar; }
    void setShowInTaskbar(bool value);

    // Position plus Step, or plus delta, without clamping; then a refresh.
    void StepIt();
    void StepBy(int delta);

private:
    void UpdateProgress();

    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    bool FSmooth = false;
    bool FSmoothReverse = false;
    int FStep = 10;
    TaskbarProgressState FProgressBarState = TaskbarProgressState::pbstNormal;
    bool FMarqueeEnabled = false;
    bool FShowInTaskbar = false;
};

} // namespace velmora
