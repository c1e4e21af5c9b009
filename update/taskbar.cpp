#include "update/taskbar.h"

#include "platform/desktop/launcherentry.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>

namespace velmora {

TaskbarComponent::TaskbarComponent(QObject* owner) : QObject(owner) {
    // Initialisation waits for the event loop, as a posted message would.
    QCoreApplication::postEvent(this, new QEvent(autoInitializeEvent()));
}

TaskbarComponent::~TaskbarComponent() = default;

QEvent::Type TaskbarComponent::autoInitializeEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type TaskbarComponent::updateEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QString TaskbarComponent::TaskBarEntryHandle() const {
    if (!FTaskBarEntryHandle.isEmpty())
        return FTaskBarEntryHandle;
    const QString desktopFile = QGuiApplication::desktopFileName();
    if (desktopFile.isEmpty())
        return {};
    return QStringLiteral("application://%1.desktop").arg(desktopFile);
}

void TaskbarComponent::setTaskBarEntryHandle(const QString& entry) {
    FTaskBarEntryHandle = entry;
}

bool TaskbarComponent::DoInitialize() {
    return true;
}

void TaskbarComponent::UpdateEntry() {}

bool TaskbarComponent::event(QEvent* event) {
    if (event->type() == autoInitializeEvent()) {
        if (FAutoInitialize)
            FIsInitialized = DoInitialize();
        return true;
    }
    if (event->type() == updateEvent()) {
        if (FIsInitialized)
            UpdateEntry();
        return true;
    }
    return QObject::event(event);
}

bool TaskbarComponent::launcherAvailable() {
    return launcherentry::available();
}

TaskbarProgressIndicator::TaskbarProgressIndicator(QObject* owner) : TaskbarComponent(owner) {}

TaskbarProgressIndicator::~TaskbarProgressIndicator() {
    const QString entry = TaskBarEntryHandle();
    if (FShowInTaskbar && !entry.isEmpty() && launcherAvailable())
        launcherentry::send(entry, false, std::nullopt);
}

void TaskbarProgressIndicator::setMin(int value) {
    if (value == FMin)
        return;
    FMin = value;
    if (FMin > FMax)
        FMax = FMin;
    UpdateProgress();
}

void TaskbarProgressIndicator::setMax(int value) {
    if (value == FMax)
        return;
    FMax = value;
    if (FMax < FMin)
        FMin = FMax;
    UpdateProgress();
}

void TaskbarProgressIndicator::setPosition(int value) {
    if (value == FPosition)
        return;
    FPosition = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::setSmooth(bool value) {
    if (value == FSmooth)
        return;
    FSmooth = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::setSmoothReverse(bool value) {
    if (value == FSmoothReverse)
        return;
    FSmoothReverse = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::setStep(int value) {
    FStep = value;
}

void TaskbarProgressIndicator::setProgressBarState(TaskbarProgressState value) {
    if (value == FProgressBarState)
        return;
    FProgressBarState = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::setMarqueeEnabled(bool value) {
    if (value == FMarqueeEnabled)
        return;
    FMarqueeEnabled = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::setShowInTaskbar(bool value) {
    if (value == FShowInTaskbar)
        return;
    FShowInTaskbar = value;
    UpdateProgress();
}

void TaskbarProgressIndicator::StepIt() {
    StepBy(FStep);
}

void TaskbarProgressIndicator::StepBy(int delta) {
    // 32-bit wrap-around, as the property's type has it, without signed overflow.
    FPosition = static_cast<int>(static_cast<quint32>(FPosition) + static_cast<quint32>(delta));
    UpdateProgress();
}

void TaskbarProgressIndicator::UpdateProgress() {
    if (!launcherAvailable())
        return;
    const QString entry = TaskBarEntryHandle();
    if (entry.isEmpty())
        return;
    if (!FShowInTaskbar) {
        launcherentry::send(entry, false, std::nullopt);
        return;
    }
    if (FProgressBarState == TaskbarProgressState::pbstMarquee) {
        // The launcher has no moving bar; it shows its bar as it can, or none.
        launcherentry::send(entry, FMarqueeEnabled, std::nullopt);
        return;
    }
    // Differences in 64 bits, as the taskbar's value call takes them.
    const qint64 total = qint64(FMax) - FMin;
    const qint64 completed = qint64(FPosition) - FMin;
    const double fraction =
        total > 0 ? std::clamp(double(completed) / double(total), 0.0, 1.0) : 0.0;
    launcherentry::send(entry, true, fraction);
}

} // namespace velmora
