#include "HandOver.h"

#include "StartUp.h"

namespace app {

void receiveHandOver(RunState &state, const QByteArray &payload, const HandOverActions &actions)
{
    if (payload.isEmpty() || payload.at(0) == '\0') {
        actions.restoreAndActivate();
        return;
    }
    const QString path = pathFromPayload(payload);
    if (path.isEmpty()) {
        return;
    }
    const QString fileName = state.Store != nullptr ? state.Store->FileName() : QString();
    // No question mark: the prompt reads as the routine has always shown it.
    if (!actions.askToSave(QStringLiteral("Do you want to save ") + fileName)) {
        return;
    }
    state.FilePath = path;
    actions.restoreAndActivate();
    if (actions.openFilePath()) {
        return;
    }
    if (MainWindowOps *window = state.CurrentMainWindow()) {
        window->UpdateView(0);
    }
}

} // namespace app
