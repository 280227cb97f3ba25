// The message-list lines a failed command ends with. A host that explains a failure
// compares the last line with these.
#ifndef RTD_IMAGE_FAILURELINES_H
#define RTD_IMAGE_FAILURELINES_H

namespace rtd::image {

// A bus command started without a bus object.
inline constexpr char kNoBusLine[] = "No I2C interface.";

// The chip did not enter ISP mode: each command has its own line.
inline constexpr char kWriteEntryFailedLine[] = "Enter isp error!";
inline constexpr char kEraseEntryFailedLine[] = "Enter Isp fail.";
inline constexpr char kResetEntryFailedLine[] = "Enter isp error.";

// Programming a bank.
inline constexpr char kEraseFailedLine[] = "Erase fail!";
inline constexpr char kCrcReadFailedLine[] = "Read Crc fail!";
inline constexpr char kCrcMismatchLine[] = "Crc Error!";
inline constexpr char kWriteFailedLine[] = "Write fail!";

// A firmware file refused before the first transfer.
inline constexpr char kFileOpenErrorLine[] = "File open error.";
inline constexpr char kFileFormatErrorLine[] = "File format error.";

} // namespace rtd::image

#endif
