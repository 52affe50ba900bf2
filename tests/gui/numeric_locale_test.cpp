// The desktop program on a Russian desktop (LANG=ru_RU.UTF-8): Qt takes the locale from the environment,
// yet every number the program shows keeps its decimal point, exactly as under the "C" locale.

#include "gui/app/talvex_application.h"
#include "russian_locale.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>
#include <cstdlib>

using talvex::testing::RussianLocaleState;

class NumericLocaleTest : public QObject {
    Q_OBJECT
public:
    explicit NumericLocaleTest(const RussianLocaleState& state) : state_(state) {}

private slots:
    void init() {
        if (state_.kind == RussianLocaleState::NoLocaledef)
            QSKIP(state_.detail.c_str());
        QVERIFY2(state_.kind == RussianLocaleState::Ready, state_.detail.c_str());
    }

    // Qt applied the environment's locale, and the application put only the numbers back to "C".
    void theApplicationKeepsTheNumericLocaleC() {
        QCOMPARE(QByteArray(std::setlocale(LC_CTYPE, nullptr)), QByteArray(talvex::testing::kRussianLocale));
        QCOMPARE(QByteArray(std::setlocale(LC_NUMERIC, nullptr)), QByteArray("C"));
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", 128.261);
        QCOMPARE(QByteArray(text), QByteArray("128.261"));
    }

    // The screenshot command draws every page of the example session (peaks, the gas averages with their
    // spreads, the message log, ...): the pictures are the same under a Russian and the "C" locale.
    void screenshotsAreTheSameUnderARussianLocaleAsUnderC() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString underC = Screenshots(dir.filePath(QStringLiteral("c")), QStringLiteral("C"));
        const QString underRussian = Screenshots(dir.filePath(QStringLiteral("ru")),
                                                 QString::fromLatin1(talvex::testing::kRussianLocale));
        QVERIFY(!underC.isEmpty() && !underRussian.isEmpty());
        const QStringList pictures =
            QDir(underC).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        QVERIFY(pictures.contains(QStringLiteral("1-peaks.png")));
        QVERIFY(pictures.contains(QStringLiteral("3-gas.png")));
        QVERIFY(pictures.contains(QStringLiteral("7-messages.png")));
        QCOMPARE(QDir(underRussian).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name), pictures);
        for (const QString& name : pictures)
            QVERIFY2(Bytes(underC + "/" + name) == Bytes(underRussian + "/" + name), qPrintable(name));
    }

private:
    // Runs `talvex --screenshots` with LC_ALL set to `locale`; the folder of the pictures, or empty.
    static QString Screenshots(const QString& folder, const QString& locale) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : env.keys())
            if (name == QLatin1String("LANG") || name == QLatin1String("LANGUAGE") || name.startsWith("LC_"))
                env.remove(name);
        env.insert(QStringLiteral("LC_ALL"), locale);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(TALVEX_BIN_DIR "/talvex"),
                      {QStringLiteral("--screenshots"), folder, QStringLiteral("--examples"),
                       QStringLiteral(TALVEX_SOURCE_DIR "/examples"), QStringLiteral("--data-dir"),
                       QStringLiteral(TALVEX_SOURCE_DIR "/data")});
        if (!program.waitForFinished(300000) || program.exitStatus() != QProcess::NormalExit ||
            program.exitCode() != 0)
            return {};
        return folder;
    }

    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const RussianLocaleState& state_;
};

int main(int argc, char** argv) {
    // The desktop as the laboratory runs it; the locale is made first when the machine has none.
    const RussianLocaleState& state = talvex::testing::PrepareRussianLocale();
    if (state.kind == RussianLocaleState::Ready) {
        ::unsetenv("LANGUAGE");
        ::setenv("LC_ALL", talvex::testing::kRussianLocale, 1);
        ::setenv("LANG", talvex::testing::kRussianLocale, 1);
    }
    talvex::gui::TalvexApplication app(argc, argv);
    NumericLocaleTest test(state);
    return QTest::qExec(&test, argc, argv);
}

#include "numeric_locale_test.moc"
