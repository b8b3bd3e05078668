#pragma once
// Everything a handler may ask of the platform, passed as one bundle so the
// flows run against Win32 in the program and against scripted stand-ins in tests.
#include "common/failure.h"
#include "runtime/ansi.h"
#include "runtime/app_facts.h"
#include "runtime/dialogs.h"
#include "runtime/files.h"
#include "runtime/processes.h"
#include "runtime/registry.h"

namespace qx {

struct Runtime {
  Dialogs& dialogs;
  Processes& processes;
  Files& files;
  Registry& registry;
  const AnsiCodec& ansi;
  const AppFacts& app;
};

}  // namespace qx
