#include "interchange_test_support.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

#include "collection/collection_file.h"
#include "engine/table.h"

namespace interchange::testing {

std::string Scratch::write(const std::string& name, const std::string& bytes) const {
    const std::string path = file(name);
    QFile f(QString::fromStdString(path));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes.data(), qint64(bytes.size()));
    return path;
}

std::string readBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

void makeCollection(const std::string& path) {
    collection::MakeNewDB(QString::fromStdString(path), {});
}

std::vector<std::string> rows(engine::Table& table) {
    std::vector<std::string> out;
    for (table.first(); !table.eof(); table.next()) {
        std::string line;
        for (int f = 0; f < table.fieldCount(); ++f) {
            if (f) line += '|';
            line += table.text(f);
        }
        out.push_back(line);
    }
    return out;
}

PythonResult runPython(const std::string& script, const std::vector<std::string>& args) {
    QStringList arguments{QStringLiteral("-c"), QString::fromStdString(script)};
    for (const std::string& a : args) arguments << QString::fromStdString(a);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("/usr/bin/python3"), arguments);
    PythonResult r;
    if (!p.waitForStarted() || !p.waitForFinished(60000)) return r;
    r.output = p.readAll().toStdString();
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

bool pythonHas(const std::string& module) {
    return runPython("import " + module).exitCode == 0;
}

}  // namespace interchange::testing
