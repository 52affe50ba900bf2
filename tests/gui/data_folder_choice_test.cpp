#include "core/app/data_folder.h"

#include <QTemporaryDir>
#include <QTest>

#include <fstream>

namespace fs = std::filesystem;
using talvex::ChooseDataFolder;

namespace {

void PutComps(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "Comps.csv") << "x\r\n";
}

} // namespace

class DataFolderChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void choosesTheFirstFolderThatHoldsTheData_data() {
        QTest::addColumn<bool>("given");
        QTest::addColumn<bool>("usualHasData");
        QTest::addColumn<bool>("installedHasData");
        QTest::addColumn<QString>("expected");
        QTest::newRow("given wins") << true << true << true << "given";
        QTest::newRow("usual folder") << false << true << true << "usual";
        QTest::newRow("installed folder") << false << false << true << "installed";
        QTest::newRow("neither: usual, to report the missing files") << false << false << false << "usual";
    }
    void choosesTheFirstFolderThatHoldsTheData() {
        QFETCH(bool, given);
        QFETCH(bool, usualHasData);
        QFETCH(bool, installedHasData);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const fs::path root = dir.path().toStdString();
        const fs::path publicFolder = root / "public";
        const fs::path usual = publicFolder / "Documents" / "Korvant" / "Talvex";
        const fs::path installed = root / "prefix" / "share" / "talvex" / "Talvex";
        fs::create_directories(root / "prefix" / "bin");
        if (usualHasData)
            PutComps(usual);
        if (installedHasData)
            PutComps(installed);
        const std::optional<fs::path> givenFolder =
            given ? std::optional<fs::path>(root / "given") : std::nullopt;
        const fs::path chosen = ChooseDataFolder(givenFolder, publicFolder.c_str(), root / "prefix" / "bin");
        const fs::path want = expected == "given" ? root / "given" : expected == "usual" ? usual : installed;
        QCOMPARE(QString::fromStdString(chosen.string()), QString::fromStdString(want.string()));
    }
};

QTEST_MAIN(DataFolderChoiceTest)
#include "data_folder_choice_test.moc"
