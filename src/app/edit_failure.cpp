#include "edit_failure.h"

#include "dialogs.h"
#include "qt_bridge.h"

namespace velmar {

std::optional<QString> editFailureText(const Outcome<EditResult>& result)
{
    switch (result.code) {
    case EditResult::Recorded:
    case EditResult::NoChange: return std::nullopt;
    case EditResult::Refused: return result.reason.empty() ? std::nullopt : std::optional(qs(result.reason));
    case EditResult::Failed: break;
    }
    return "The change was not made: " + qs(result.reason);
}

void showEditFailure(Dialogs& dialogs, const Outcome<EditResult>& result)
{
    if (const std::optional<QString> text = editFailureText(result))
        dialogs.message(*text, Dialogs::Icon::Exclamation);
}

}  // namespace velmar
