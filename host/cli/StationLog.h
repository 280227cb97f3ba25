// The station's CSV log: one row per board, appended whole. A row goes out in one write of
// the complete line and is flushed before the next board, so an interrupted station (Ctrl-C,
// power loss) leaves at most a last line without its end; the next station finishes that
// line before its first row, so every later row stays a row of its own.
#ifndef RTD_HOST_CLI_STATIONLOG_H
#define RTD_HOST_CLI_STATIONLOG_H

#include <cstdio>
#include <string>
#include <vector>

#include "CommandReport.h"

namespace rtd::host {

struct BoardRow {
    std::string time;   // ISO 8601, UTC: "2026-12-09T05:40:12Z"
    std::string file;   // as given on the command line
    std::string sha256; // of the file
    bool passed = false;
    bool interrupted = false;      // stopped by a second Ctrl-C: "interrupted", not "failed"
    std::vector<BankReport> banks; // verify's banks: the chip's CRC-8 each
    double seconds = 0;            // write and verify together
};

// "time,file,sha256,result,crc8,seconds"
extern const char* const kStationLogHeader;

// One CSV line without its end; the file is quoted when it holds a comma, quote or line
// end; the CRC-8s are "0:5A 1:13" ("0:--" for a bank the chip gave none for).
std::string StationLogLine(const BoardRow& row);

// The current time as BoardRow::time has it.
std::string IsoTimeNow();

class StationLog {
public:
    StationLog() = default;
    StationLog(const StationLog&) = delete;
    StationLog& operator=(const StationLog&) = delete;
    ~StationLog();

    // Opens `path` for appending: a new or empty file gets the header, a file that ends
    // inside a line gets the line end first. False, with a one-line reason.
    bool Open(const std::string& path, std::string* error);
    // Appends one line and flushes it. False, with a one-line reason.
    bool Append(const std::string& line, std::string* error);

private:
    bool Put(const std::string& text, std::string* error);

    std::FILE* file_ = nullptr;
    std::string path_;
};

} // namespace rtd::host

#endif
