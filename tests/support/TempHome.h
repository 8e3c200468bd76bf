#pragma once

#include <string>

namespace fenta21::test {

// A fresh home folder under the system's temporary folder, removed with the object.
// It sits one level down ("<tmp>/fenta21-XXXXXX/home") so that the data folder beside it
// ("<tmp>/fenta21-XXXXXX/data") belongs to the test too.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return home_; }
    const std::string& root() const { return root_; }
    std::string file(const std::string& name) const { return home_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string root_;
    std::string home_;
};

// The whole content of a file anywhere (empty when it cannot be read).
std::string readFileBytes(const std::string& path);

}  // namespace fenta21::test
