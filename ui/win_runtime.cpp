#include "ui/win_runtime.h"

#include "runtime/win32/ansi_codec.h"
#include "runtime/win32/app_facts.h"
#include "runtime/win32/files.h"
#include "runtime/win32/processes.h"
#include "runtime/win32/registry.h"
#include "ui/dialogs.h"

namespace qx::win {

struct WinRuntime::Parts {
  explicit Parts(HINSTANCE instance) : app(ReadAppFacts()), dialogs(instance, app.Title) {}
  AppFacts app;
  WinDialogs dialogs;
  WinProcesses processes;
  WinFiles files;
  WinRegistry registry;
  WinAnsiCodec ansi;
};

WinRuntime::WinRuntime(HINSTANCE instance)
    : parts_(std::make_unique<Parts>(instance)),
      rt_(std::make_unique<Runtime>(Runtime{parts_->dialogs, parts_->processes, parts_->files,
                                            parts_->registry, parts_->ansi, parts_->app})) {}

WinRuntime::~WinRuntime() = default;

}  // namespace qx::win
