#pragma once
// The console's commands, one function each, grouped by file: what only reads (CtlQueries.cpp), what
// creates, removes and edits instances (CtlChanges.cpp), processes, archives and windows (CtlRuns.cpp),
// and groups (CtlGroups.cpp).

#include "kvmctl/CtlSession.h"

namespace ctl::commands {

Reply lines(Session& s, const Arguments& args);
Reply list(Session& s, const Arguments& args);
Reply get(Session& s, const Arguments& args);
Reply groups(Session& s, const Arguments& args);

Reply create(Session& s, const Arguments& args);
Reply clone(Session& s, const Arguments& args);
Reply remove(Session& s, const Arguments& args);
Reply rename(Session& s, const Arguments& args);
Reply set(Session& s, const Arguments& args);

Reply start(Session& s, const Arguments& args);
Reply stop(Session& s, const Arguments& args);
Reply backup(Session& s, const Arguments& args);
Reply restore(Session& s, const Arguments& args);
Reply arrange(Session& s, const Arguments& args);

Reply group(Session& s, const Arguments& args);

} // namespace ctl::commands
