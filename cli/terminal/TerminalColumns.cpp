#include "cli/terminal/TerminalColumns.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace orb {

int TerminalColumns() {
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

} // namespace orb
