// The desktop program's application object as the program starts it: Qt's own texts in Russian and the
// program's icon on every window that has none of its own.
#include "gui/app/qt_translations.h"
#include "gui/app/talvex_application.h"
#include "gui/mainwindow/app_icon.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QImage IconImage(const QIcon& icon) {
    return icon.pixmap(32, 32).toImage();
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void qtTranslationIsInstalled() {
        QVERIFY2(QFile::exists(talvex::gui::QtTranslationFile()),
                 qPrintable(talvex::gui::QtTranslationFile() + " is missing: install qt6-translations-l10n"));
    }

    // The texts Qt draws itself, looked up as its widgets look them up.
    void qtSpeaksRussian_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("russian");
        QTest::newRow("standard button") << "QPlatformTheme"
                                         << "Cancel"
                                         << "Отмена";
        QTest::newRow("line edit menu") << "QLineEdit"
                                        << "&Undo"
                                        << "&Отменить действие";
        QTest::newRow("file dialog") << "QFileDialog"
                                     << "File &name:"
                                     << "&Имя файла:";
    }
    void qtSpeaksRussian() {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, russian);
        QCOMPARE(QCoreApplication::translate(context.toLatin1().constData(), english.toLatin1().constData()),
                 russian);
    }

    void widgetsShowTheRussianTexts() {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QVERIFY(!menu->actions().isEmpty());
        QVERIFY2(menu->actions().front()->text().startsWith(QStringLiteral("&Отменить")),
                 qPrintable(menu->actions().front()->text()));
    }

    // Windows that set no icon of their own fall back to the application's: the program's.
    void everyDialogCarriesTheProgramIcon() {
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(IconImage(QApplication::windowIcon()), IconImage(talvex::gui::AppIcon()));
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), QStringLiteral("текст"));
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        QInputDialog input;
        QProgressDialog progress;
        for (QWidget* window : std::initializer_list<QWidget*>{&box, &files, &input, &progress})
            QCOMPARE(IconImage(window->windowIcon()), IconImage(talvex::gui::AppIcon()));
    }
};

int main(int argc, char** argv) {
    talvex::gui::TalvexApplication app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
