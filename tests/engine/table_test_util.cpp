#include "table_test_util.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/error.h"
#include "engine/mdx_file.h"

namespace engine::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tess-table-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

void copyFile(const std::string& from, const std::string& to) {
    writeFile(to, readFile(from));
}

bool exists(const std::string& path) {
    return fs::exists(path);
}

std::uint8_t byteAt(const std::string& path, std::size_t offset) {
    std::string b = readFile(path);
    if (offset >= b.size()) throw std::runtime_error("offset past the end of " + path);
    return std::uint8_t(b[offset]);
}

void patchBytes(const std::string& path, std::size_t offset, const std::string& bytes) {
    std::string b = readFile(path);
    if (offset + bytes.size() > b.size()) b.resize(offset + bytes.size(), '\0');
    b.replace(offset, bytes.size(), bytes);
    writeFile(path, b);
}

void patchU32(const std::string& path, std::size_t offset, std::uint32_t v) {
    std::string le{char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24)};
    patchBytes(path, offset, le);
}

std::uint32_t u32At(const std::string& b, std::size_t o) {
    auto u = [&](std::size_t i) { return std::uint32_t(std::uint8_t(b.at(o + i))); };
    return u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24;
}

std::vector<FieldDef> sampleFields() {
    return {
        {"NAME", FieldType::Character, 20, 0}, {"COUNTRY", FieldType::Character, 20, 0},
        {"YEAR", FieldType::Numeric, 11, 0},   {"COST", FieldType::Numeric, 20, 4},
        {"BOUGHT", FieldType::Date, 8, 0},     {"RATE", FieldType::Float, 10, 2},
        {"OK", FieldType::Logical, 1, 0},
    };
}

std::vector<FieldDef> collectionFields() {
    const FieldType C = FieldType::Character, N = FieldType::Numeric, D = FieldType::Date;
    return {
        {"CATALOG", C, 12, 0},   {"DESCRIPTIO", C, 110, 0}, {"COUNTRY", C, 20, 0},
        {"FACEVALUE", C, 20, 0}, {"MARKETVALU", N, 20, 4},  {"QUANTITY", N, 11, 0},
        {"YEAR", N, 11, 0},      {"COMMENTS", C, 110, 0},   {"CONDITION", C, 9, 0},
        {"GROUP", C, 20, 0},     {"STAMPTYPE", C, 16, 0},   {"CANCELLATI", C, 13, 0},
        {"TOPIC", C, 20, 0},     {"DATE", D, 8, 0},         {"COST", N, 20, 4},
        {"GUM", C, 8, 0},        {"COLOR", C, 16, 0},       {"FAULTS", C, 90, 0},
        {"HINGED", C, 7, 0},     {"MISCELLANE", C, 110, 0}, {"CATALOGI", N, 11, 0},
        {"USERDEF1", C, 40, 0},  {"USERDEF2", C, 40, 0},    {"USERDEF3", C, 40, 0},
        {"WANTED", C, 3, 0},
    };
}

void appendRow(Table& t, const std::vector<std::string>& row) {
    t.append();
    for (std::size_t i = 0; i < row.size(); ++i)
        if (!row[i].empty()) t.setText(int(i), row[i]);
    t.post();
}

void createWithRows(const std::string& path, const std::vector<FieldDef>& fields,
                    const std::vector<std::vector<std::string>>& rows) {
    Table::create(path, fields);
    Table t;
    t.open(path, OpenMode::Exclusive);
    for (const auto& row : rows) appendRow(t, row);
    t.close();
}

std::vector<std::uint32_t> visitOrder(Table& t) {
    std::vector<std::uint32_t> out;
    for (t.first(); !t.eof(); t.next()) {
        out.push_back(t.recNo());
        if (out.size() > 1000000) break;  // a cursor that never ends is a failure, not a hang
    }
    return out;
}

std::vector<std::string> visitTexts(Table& t, int field) {
    std::vector<std::string> out;
    for (t.first(); !t.eof(); t.next()) {
        out.push_back(t.text(field));
        if (out.size() > 1000000) break;
    }
    return out;
}

std::vector<std::uint32_t> expectedUpperOrder(const Table& t, int field) {
    std::vector<std::pair<std::string, std::uint32_t>> keyed;
    for (std::uint32_t r = 1; r <= t.physicalCount(); ++r) {
        RecordView v = t.record(r);
        if (v.deleted()) continue;
        std::string key(v.raw(field));
        for (char& c : key)
            if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        keyed.emplace_back(std::move(key), r);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> order;
    for (const auto& k : keyed) order.push_back(k.second);
    return order;
}

std::vector<std::pair<std::string, std::uint32_t>> indexEntries(const std::string& mdxPath,
                                                                const std::string& tag) {
    auto mdx = MdxFile::open(mdxPath, false);
    int i = mdx->findTag(tag);
    if (i < 0) throw EngineError("no tag " + tag + " in " + mdxPath);
    mdx->verify(i);
    std::vector<std::pair<std::string, std::uint32_t>> out;
    mdx->forEach(i, [&](std::string_view key, std::uint32_t recno) {
        out.emplace_back(std::string(key), recno);
    });
    return out;
}

std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CommandResult runCommand(const std::string& command) {
    CommandResult r;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

bool pythonHasModule(const std::string& module) {
    if (::access("/usr/bin/python3", X_OK) != 0) return false;
    return runCommand("/usr/bin/python3 -c " + shellQuote("import " + module) + " 2>/dev/null")
               .exitCode == 0;
}

CommandResult runPython(const std::string& script, const std::vector<std::string>& args) {
    std::string cmd = "/usr/bin/python3 -c " + shellQuote(script);
    for (const auto& a : args) cmd += " " + shellQuote(a);
    return runCommand(cmd + " 2>&1");
}

}  // namespace engine::testing

namespace engine::testing {

namespace {
// argv: "x" or "s", then the files. Prints "locked" or "refused", then holds
// the locks until its standard input closes.
const char* const kLockScript = R"PY(
import fcntl, sys
exclusive = sys.argv[1] == 'x'
held = []
try:
    for path in sys.argv[2:]:
        f = open(path, 'r+b' if exclusive else 'rb')
        fcntl.lockf(f, (fcntl.LOCK_EX if exclusive else fcntl.LOCK_SH) | fcntl.LOCK_NB)
        held.append(f)
    print('locked', flush=True)
except OSError:
    print('refused', flush=True)
sys.stdin.read()
)PY";
}  // namespace

PythonLockHolder::PythonLockHolder(const std::vector<std::string>& paths, bool exclusive) {
    if (::access("/usr/bin/python3", X_OK) != 0) return;
    int out[2], in[2];
    if (::pipe(out) != 0 || ::pipe(in) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::close(in[1]);
        ::close(out[0]);
        std::vector<std::string> args = {"python3", "-c", kLockScript, exclusive ? "x" : "s"};
        args.insert(args.end(), paths.begin(), paths.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv("/usr/bin/python3", argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    release_ = in[1];
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    locked_ = line == "locked";
}

PythonLockHolder::~PythonLockHolder() {
    if (release_ >= 0) ::close(release_);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
}

bool pythonCanLock(const std::string& path, bool exclusive) {
    PythonLockHolder probe({path}, exclusive);
    return probe.locked();
}

}  // namespace engine::testing
