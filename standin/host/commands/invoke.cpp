// Functions that applications register for others to call with acedInvoke.
#include <acedads.h>
#include <acutads.h>
#include <adscodes.h>

#include <map>
#include <mutex>

#include "standin/host/commands/applications.h"
#include "standin/host/core/session.h"
#include "standin/host/core/text.h"

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::wstring, standin::ExternalFunction> functions;  // by upper-case name
};

Registry& Functions() {
  static Registry* registry = [] {
    auto* r = new Registry;  // never destroyed: modules may call in at exit
    standin::Session::Get().AddResetHandler([r] {
      std::lock_guard<std::mutex> lock(r->mutex);
      r->functions.clear();
    });
    return r;
  }();
  return *registry;
}

}  // namespace

void standin::RegisterExternalFunction(const std::wstring& name, ExternalFunction function) {
  Registry& r = Functions();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.functions[Upper(name)] = std::move(function);
}

int acedInvoke(const struct resbuf* args, struct resbuf** result) {
  if (result) *result = nullptr;
  if (!args || args->restype != RTSTR || !args->resval.rstring || !result) return RTERROR;
  standin::ExternalFunction function;
  {
    Registry& r = Functions();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.functions.find(standin::Upper(args->resval.rstring));
    if (it == r.functions.end()) return RTERROR;
    function = it->second;
  }
  // The function may fail; the call itself still counts as made.
  resbuf* out = nullptr;
  if (function(args->rbnext, &out) != RTNORM && out) {
    acutRelRb(out);
    out = nullptr;
  }
  *result = out;
  return RTNORM;
}
