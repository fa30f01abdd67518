// Every seed and every input a fuzzer once broke the program with, through
// the same reader functions the fuzzers drive, in the ordinary build (and
// under the sanitizers in the sanitizer build).
#include "FuzzTargets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Target {
    const char *name;
    std::function<QString(QByteArrayView)> run;
};

const Target kTargets[] = {
    {"detect", korv::fuzz::detection},   {"subviewer", korv::fuzz::subViewer},
    {"microdvd", korv::fuzz::microDvd},  {"subrip", korv::fuzz::subRip},
    {"webvtt", korv::fuzz::webVtt},      {"language", korv::fuzz::languageFile},
    {"avi", korv::fuzz::aviHeaders},
};

QStringList inputsOf(const QString &folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

void PrintTo(const Target &target, std::ostream *out)
{
    *out << target.name;
}

class FuzzInputs : public testing::TestWithParam<Target> {};

TEST_P(FuzzInputs, EverySeedAndKeptInputHoldsItsProperties)
{
    const Target &target = GetParam();
    const QString root = QStringLiteral(KORV_FUZZ_DIR);
    const QStringList seeds = inputsOf(root + QStringLiteral("/corpus/") + QLatin1String(target.name));
    ASSERT_FALSE(seeds.isEmpty()) << "no seed corpus for " << target.name;
    const QStringList inputs =
        seeds + inputsOf(root + QStringLiteral("/regressions/") + QLatin1String(target.name));
    for (const QString &path : inputs) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(target.run(bytes).toStdString(), "") << path.toStdString();
        // Every cut of a kept input must hold too: truncated files are common.
        for (qsizetype cut : {qsizetype(0), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1}) {
            if (cut >= 0 && cut < bytes.size())
                EXPECT_EQ(target.run(bytes.first(cut)).toStdString(), "") << path.toStdString() << " cut at " << cut;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzInputs, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target> &info) { return std::string(info.param.name); });

} // namespace
