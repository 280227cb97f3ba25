// How wide the terminal behind stderr is, so a progress bar drawn there never wraps.
#ifndef RTD_HOST_SYSTEM_TERMINALCOLUMNS_H
#define RTD_HOST_SYSTEM_TERMINALCOLUMNS_H

namespace rtd::host {

// The terminal's width as the system says (TIOCGWINSZ; the console's window on Windows),
// else $COLUMNS, else 80.
int TerminalColumns();

// The width the system reports for stderr's terminal, 0 when it reports none.
int SystemColumns();

} // namespace rtd::host

#endif
