#include "core/protocol/ModelRegistry.h"

#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/protocol/ModelFiles.h"
#include "core/protocol/ModelKinds.h"

#include <filesystem>
#include <utility>

namespace fenta21 {

ModelRegistry::ModelRegistry(std::string homeFolder) : homeFolder_(std::move(homeFolder)) {}

void ModelRegistry::loadModelTable() { setModelTable(fenta21::loadModelTable(joinPath(homeFolder_, "type.dat"))); }

void ModelRegistry::setModelTable(ModelTable table) {
    auto shared = std::make_shared<const ModelTable>(std::move(table));
    std::lock_guard lock(mutex_);
    table_ = shared;
    noteProblems(shared->problems);
}

std::shared_ptr<const ModelTable> ModelRegistry::modelTable() const {
    std::lock_guard lock(mutex_);
    return table_;
}

int ModelRegistry::identifyModel(const std::string& code, CurrentModel* identified) {
    std::shared_ptr<const ModelTable> table = modelTable();
    const ModelEntry* entry = table->find(code);
    if (entry == nullptr) {
        std::lock_guard lock(mutex_);
        current_.kindNumber = 0;
        current_.channelCount = 0;
        return -1;
    }

    // The kind table is read without holding the lock: a slow disk must not stall the panel.
    auto kinds = std::make_shared<KindTable>();
    std::vector<std::string> problems;
    if (std::optional<std::string> path = modelFilePath(homeFolder_, code, ".dat")) {
        if (std::filesystem::exists(*path)) *kinds = loadKindTable(*path);
        else problems.push_back(cp932ToUtf8(code) + ".dat がないため、どの測定モードも表示されません");
    } else {
        problems.push_back("機種コード \"" + cp932ToUtf8(code) + "\" はファイル名に使えないため、測定モード表を読めません");
    }
    problems.insert(problems.end(), kinds->problems.begin(), kinds->problems.end());

    CurrentModel model;
    model.code = entry->code;
    model.kindNumber = modelKindNumber(entry->code);
    model.channelCount = entry->channelCount;
    model.name = entry->name;
    model.kinds = std::move(kinds);
    std::lock_guard lock(mutex_);
    current_ = model;
    noteProblems(problems);
    if (identified != nullptr) *identified = std::move(model);
    return 0;
}

CurrentModel ModelRegistry::current() const {
    std::lock_guard lock(mutex_);
    return current_;
}

std::vector<std::string> ModelRegistry::takeNewProblems() {
    std::lock_guard lock(mutex_);
    return std::exchange(newProblems_, {});
}

void ModelRegistry::noteProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        if (knownProblems_.insert(problem).second) newProblems_.push_back(problem);
}

}  // namespace fenta21
