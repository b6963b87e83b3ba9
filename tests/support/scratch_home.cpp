// Every test program runs in a home of its own. glib reads the user's
// folders once per process and keeps them, so a case that restores the real
// environment when it ends would leave the cases after it (in one run of the
// whole program) writing themes, histories and settings into the real home.
// Before main, the home and the XDG base folders are pointed at a scratch
// folder that goes when the program ends; cases that want other folders set
// them as before.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class ScratchHome {
 public:
  ScratchHome() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/tintor-home-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();  // nowhere safe to run
    folder_ = pattern;
    for (const auto& [name, below] : {std::pair{"HOME", "/home"}, std::pair{"XDG_DATA_HOME", "/data"},
                                      std::pair{"XDG_STATE_HOME", "/state"}, std::pair{"XDG_CONFIG_HOME", "/config"},
                                      std::pair{"XDG_CACHE_HOME", "/cache"}}) {
      std::filesystem::create_directories(folder_ + below);
      ::setenv(name, (folder_ + below).c_str(), 1);
    }
    ::unsetenv("TINTOR_REGISTRY");
  }
  ~ScratchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

const ScratchHome scratch_home;

}  // namespace
