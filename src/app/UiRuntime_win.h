#pragma once
// The log and the user-interface dispatcher come and go together: start-up installs the log sink and creates
// the dispatcher on the user-interface thread in one step; shutdown removes both in one step, and that also
// closes the log writer, which writes what is still queued.

namespace app {

bool installLogAndDispatcher();
void removeLogAndDispatcher();

} // namespace app
