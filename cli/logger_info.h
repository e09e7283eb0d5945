// The block as `vessor-logger info` prints it, one field per line; also what
// `setup --dry-run` shows of the block it would write.
#pragma once

#include <cstdio>

namespace vessor {
class LoggerConfig;
class LocaleFormat;
} // namespace vessor

namespace vessor::cli {

void printLoggerInfo(std::FILE* out, const LoggerConfig& config, const LocaleFormat& locale);

} // namespace vessor::cli
