#pragma once

#include "core/protocol/KindTable.h"
#include "core/protocol/ModelTable.h"

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace fenta21 {

// The model last identified, whichever part of the program asked: the panel when it
// connects, the CSV converter for every file it converts.
struct CurrentModel {
    std::string code;
    int kindNumber = 0;  // ModelKind
    int channelCount = 0;
    std::string name;
    std::shared_ptr<const KindTable> kinds = std::make_shared<const KindTable>();
};

// The model table and the current model, shared by the window, the panel's workers and the
// converter. Every access copies under a lock; a kind table is never changed once loaded, so
// a snapshot stays valid for as long as its holder needs it, even while another thread
// identifies a different model.
class ModelRegistry {
public:
    explicit ModelRegistry(std::string homeFolder);

    // Reads type.dat from the home folder; done once at start-up.
    void loadModelTable();
    void setModelTable(ModelTable table);
    std::shared_ptr<const ModelTable> modelTable() const;

    // 0 when the code is in the model table: the current model becomes that model, with its
    // kind table read afresh from "<home>/<code>.dat" (a missing file leaves every kind
    // undefined), and `identified` receives it. -1 when the code is unknown: the kind number
    // and channel count become 0 while the code, name and kind table stay as they were.
    int identifyModel(const std::string& code, CurrentModel* identified = nullptr);

    CurrentModel current() const;

    // The defects found in type.dat and in the kind tables read so far that have not been
    // handed out yet; each distinct defect is handed out once, so a file converted a hundred
    // times does not repeat the same complaint a hundred times.
    std::vector<std::string> takeNewProblems();

private:
    void noteProblems(const std::vector<std::string>& problems);

    const std::string homeFolder_;
    mutable std::mutex mutex_;
    std::shared_ptr<const ModelTable> table_ = std::make_shared<const ModelTable>();
    CurrentModel current_;
    std::set<std::string> knownProblems_;
    std::vector<std::string> newProblems_;
};

}  // namespace fenta21
