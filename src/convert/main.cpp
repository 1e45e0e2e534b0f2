// tessaly-convert: reads the input files, converts them with the format functions and
// writes the outputs through the editor's safe save, only when everything succeeded.

#include "convert/conversion.h"
#include "convert/job.h"
#include "convert/options.h"
#include "convert/output_files.h"
#include "io/file_access.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/win32/utf8.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

using namespace tessaly;
using namespace tessaly::convert;

namespace {

constexpr int ExitBadInput = 1;
constexpr int ExitUsage = 2;

int usageError(const std::string& message) {
    std::cerr << "tessaly-convert: " << message << "\nTry 'tessaly-convert --help'.\n";
    return ExitUsage;
}

int inputError(const std::string& file, const std::string& message) {
    std::cerr << "tessaly-convert: " << (file.empty() ? "" : file + ": ") << message << "\n";
    return ExitBadInput;
}

bool readStandardInput(InputBytes& in) {
    std::vector<std::uint8_t>& bytes = in.bytes;
    std::uint8_t chunk[65536];
    while (true) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, stdin);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (bytes.size() > InputLimit) {
            bytes.resize(InputLimit);
            in.cut = true;
            return true;
        }
        if (n < sizeof chunk) return !std::ferror(stdin);
    }
}

// Reads a side's file (or standard input) up to the limit; false with the message given.
bool readInput(const FileSide& side, InputBytes& in, std::string& error) {
    if (side.stream()) {
        if (!readStandardInput(in)) error = "standard input cannot be read";
        return error.empty();
    }
    const std::int64_t size = fileSize(side.path);
    if (size < 0) {
        std::error_code ec;
        const std::filesystem::path p = pathOf(side.path);
        error = std::filesystem::exists(p, ec) ? "not a regular file" : "no such file";
        return false;
    }
    // One byte past the limit tells a file that goes on.
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::int64_t>(size, static_cast<std::int64_t>(InputLimit) + 1));
    if (!readFileStart(side.path, want, in.bytes)) {
        error = "the file cannot be opened for reading";
        return false;
    }
    if (in.bytes.size() > InputLimit) {
        in.bytes.resize(InputLimit);
        in.cut = true;
    }
    return true;
}

#ifdef _WIN32
// A console shows the characters of its own code page, not UTF-8: text bound for one goes
// to it as UTF-16, a line at a time. Pipes and files get the UTF-8 bytes.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {}

  protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) return 0;
        text_.push_back(static_cast<char>(c));
        if (c == '\n') sync();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        text_.append(s, static_cast<std::size_t>(n));
        if (text_.find('\n') != std::string::npos) sync();
        return n;
    }
    int sync() override {
        const std::wstring wide = wideFromUtf8(text_);
        text_.clear();
        DWORD written = 0;
        return wide.empty() || WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()),
                                             &written, nullptr)
                   ? 0
                   : -1;
    }

  private:
    HANDLE console_;
    std::string text_;
};

void writeTextToConsoles() {
    DWORD mode = 0;
    for (auto [handle, stream] :
         {std::pair{STD_OUTPUT_HANDLE, &std::cout}, std::pair{STD_ERROR_HANDLE, &std::cerr}}) {
        const HANDLE console = GetStdHandle(handle);
        // Never freed: the streams are flushed at exit, after the statics are gone.
        if (GetConsoleMode(console, &mode)) stream->rdbuf(new ConsoleBuffer(console));
    }
}
#endif

// The arguments as UTF-8. On Windows the narrow argv is in the ANSI code page, which
// cannot hold every file name, so they are taken from the UTF-16 command line, split by
// the C runtime's rules.
std::vector<std::string> programArguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
#else
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
#endif
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Bytes in and out as they are: no CR before each LF, no end at a Ctrl-Z.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    writeTextToConsoles();
#endif
    const std::vector<std::string> arguments = programArguments(argc, argv);
    const ParsedArguments parsed = parseArguments(arguments);
    if (parsed.action == Action::Help) {
        std::cout << helpText();
        return 0;
    }
    if (parsed.action == Action::Version) {
        std::cout << versionText();
        return 0;
    }
    if (!parsed.error.empty()) return usageError(parsed.error);
    Job job;
    std::string error;
    if (!planJob(parsed.options, job, error)) return usageError(error);

    InputBytes input, font;
    if (!job.input.format->builtin() && !readInput(job.input, input, error))
        return inputError(job.input.stream() ? "" : job.input.path, error);
    const bool fontFile = job.font && !job.font->format->builtin();
    if (fontFile && !readInput(*job.font, font, error)) return inputError(job.font->path, error);

    const Outcome outcome = convertBytes(job, input, fontFile ? &font : nullptr);
    for (const std::string& note : outcome.notes)
        std::cerr << "tessaly-convert: " << note << "\n";
    if (outcome.exitCode == ExitUsage) {
        std::cerr << "tessaly-convert: " << outcome.error << "\n";
        return ExitUsage;
    }
    if (outcome.exitCode != 0) return inputError(outcome.errorFile, outcome.error);
    if (job.mode == Mode::Info) {
        std::cout.write(reinterpret_cast<const char*>(outcome.output.data()),
                        static_cast<std::streamsize>(outcome.output.size()));
        return std::cout.flush() ? 0 : ExitBadInput;
    }

    std::vector<OutputFile> outputs;
    if (job.fontOut) outputs.push_back({job.fontOut->path, outcome.fontOutput});
    outputs.push_back({job.output.path, outcome.output});
    std::string failed, why;
    if (!writeOutputs(outputs, failed, why))
        return inputError(failed == "-" ? "standard output" : failed, "cannot be written: " + why);
    // The size of a cut picture's map, on standard output unless the map went there.
    if (!outcome.summary.empty())
        (job.output.stream() ? std::cerr : std::cout) << outcome.summary << "\n";
    return 0;
}
