#pragma once

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "core/store/RecordStore.h"

#include <memory>

namespace fenta21::cli {

// The parts of "fenta21-cli db", each in its own file; `context.args` holds the words after
// the part's own.
int runDbImport(CommandContext& context, JsonResult& json);
int runDbExport(CommandContext& context, JsonResult& json);

// The home's record store, or a refusal (none set up, or it cannot be opened) for finish.
int openHomeStoreFor(CommandContext& context, JsonResult& json, std::unique_ptr<store::RecordStore>& opened);

// "sqlite" or "postgresql".
const char* engineWord(store::StoreEngine engine);

}  // namespace fenta21::cli
