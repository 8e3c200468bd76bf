#include "core/app/LineWords.h"

namespace fenta21 {

const char* collectCommandText(CollectCommand command) {
    switch (command) {
        case CollectCommand::Copy: return "copy";
        case CollectCommand::AllCopy: return "acopy";
        case CollectCommand::Text: return "text";
    }
    return "copy";
}

}  // namespace fenta21
