#include "app/startup.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPointer>
#include <QPrinterInfo>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/settings_chooser.h"
#include "app/splash.h"
#include "catalogue/ui/main_window.h"
#include "editor/ui/editor_window.h"
#include "print/ui/print_dialog.h"
#include "records/ui/album_dialog.h"
#include "shell/language.h"
#include "shell/session/installation.h"
#include "shell/settings.h"
#include "shell/startup_log.h"
#include "shell/ui/qt_user_dialogs.h"
#include "shell/user_dialogs.h"
#include "wizards/ui/assistant_dvd.h"

namespace {

constexpr int kEnded = 1;

// "--home DIR" picks the installation; it is not one of the program's own arguments.
QStringList ProgramArguments(const QStringList& all, QString* home) {
  QStringList args;
  for (qsizetype i = 1; i < all.size(); ++i) {
    if (all[i] == QLatin1String("--home") && i + 1 < all.size()) {
      *home = all[++i];
      continue;
    }
    if (all[i].startsWith(QLatin1String("--home="))) {
      *home = all[i].mid(7);
      continue;
    }
    args << all[i];
  }
  return args;
}

// Every printer the platform offers; the PDF file is always one of them, so a machine without print
// queues still starts.
QStringList InstalledPrinters() {
  QStringList printers = QPrinterInfo::availablePrinterNames();
  printers << QStringLiteral("PDF file");
  return printers;
}

// SIGTERM and SIGINT (a session ending, Ctrl+C in a terminal) end the message loop like closing the
// main window, without its question, so the shutdown steps still run and the fonts are removed.
// SIGUSR1 saves a picture of every visible window into LORVANE_SCREENSHOT_DIR, for end-to-end
// tests and bug reports.
int g_signalPipe[2] = {-1, -1};

void OnSignal(int signal) {
  const char what = signal == SIGUSR1 ? 's' : 'q';
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &what, 1);
}

void SaveScreenshots() {
  const QString dir = qEnvironmentVariable("LORVANE_SCREENSHOT_DIR");
  if (dir.isEmpty() || !QDir().mkpath(dir)) return;
  static int shot = 0;
  ++shot;
  for (QWidget* w : QApplication::allWidgets()) {
    if (!w->isWindow() || !w->isVisible()) continue;
    const QString name = w->objectName().isEmpty() ? QStringLiteral("window") : w->objectName();
    w->grab().save(QStringLiteral("%1/%2-%3.png").arg(dir).arg(shot, 3, 10, QLatin1Char('0')).arg(name));
  }
}

void QuitOnSignals(QObject* owner) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
    char c = 0;
    if (::read(g_signalPipe[0], &c, 1) != 1) return;
    if (c == 's')
      SaveScreenshots();
    else
      // exit, not quit: quit would close the windows first, and the main window asks before closing.
      QCoreApplication::exit(0);
  });
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGUSR1, &sa, nullptr);
}

void Say(const QString& text) {
  AskUser(text, akError, abOK);
}

// The document named on the command line (the desktop entry's "%f"): the first argument when it is
// none of the switches, or the one after "debug". A "file:" address is taken as its local path.
QString DocumentArgument(const QStringList& args) {
  const QString first = args.value(0);
  QString given;
  if (first == QLatin1String("debug"))
    given = args.value(1);
  else if (first != QLatin1String("copy_cliparts") && first != QLatin1String("install_tscc"))
    given = first;
  if (given.startsWith(QLatin1String("file:"))) given = QUrl(given).toLocalFile();
  return given;
}

// Opens the document in the editor instead of the catalogue; a file that is missing or cannot be
// read is named in a message and the catalogue stays.
void OpenGivenDocument(const QString& given, TfmMain& main, TfmEditeur& editor) {
  const QFileInfo info(given);
  if (!info.isFile() || !info.isReadable()) {
    const QString key =
        info.exists() ? QStringLiteral("ErreurLecture") : QStringLiteral("FichierIntrouvable");
    Say(MLText(key).replace(QStringLiteral("%s"), info.absoluteFilePath()));
    return;
  }
  main.hide();
  if (!editor.OuvreDocument(info.absoluteFilePath())) main.show();
}

}  // namespace

int RunProgram(int argc, char** argv) {
  // Qt's application object comes first on this platform: the keyboard state and any message box
  // need it. Its step label is still logged where the sequence has it.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lorvane"));
  QApplication::setApplicationDisplayName(QStringLiteral("Lorvane"));
  QApplication::setApplicationVersion(QStringLiteral(LORVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("lorvane"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/lorvane/lorvane.svg")));
  QApplication::setQuitOnLastWindowClosed(false);

  QString given;
  const QStringList args = ProgramArguments(QApplication::arguments(), &given);
  const QString first = args.value(0);
  const QString second = args.value(1);
  const QString document = DocumentArgument(args);
  const QString home = FindHome(given);

  std::unique_ptr<TFileScriptedDialogs> script = DialogScriptFromEnvironment();
  TQtUserDialogs qtDialogs;
  if (script) script->Real = &qtDialogs;
  TUserDialogs* dialogs = script ? static_cast<TUserDialogs*>(script.get()) : &qtDialogs;
  SetUserDialogs(dialogs);

  // 1. Logging.
  const bool ctrl = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
  LogStart(ctrl || first == QLatin1String("debug"), home);

  // 2, 3. The installation settings file.
  QString ini;
  const QString chooserFolder = home + QStringLiteral("/lorvane/");
  if (QFileInfo(chooserFolder).isDir())
    ini = ChooseSettingsFile(chooserFolder, script.get());
  else
    ini = home + QStringLiteral("/lorvane.ini");
  if (ini.isEmpty() || !QFileInfo(ini).isFile()) {
    Say(QStringLiteral("Not found : ") + (ini.isEmpty() ? QString() : QFileInfo(ini).absoluteFilePath()));
    return kEnded;
  }

  // 4 to 9. Settings, language file, language and paths, opened as every program opens them.
  Log(QStringLiteral("Initialize"));
  Log(QStringLiteral("MLCreate"));
  if (!QFileInfo(home + QStringLiteral("/lorvane.tra")).isFile()) {
    Say(QStringLiteral("Not found : lorvane.tra"));
    return kEnded;
  }
  Log(QStringLiteral("SoftInitialise"));
  TInstallationOptions options;
  options.Arguments = args;
  options.Dialogs = dialogs;
  options.SettingsFile = ini;
  options.Fonts = false;
  QString error;
  std::unique_ptr<TInstallation> installation = OpenInstallation(home, options, &error);
  if (!installation) {
    Say(error);
    return kEnded;
  }
  TSoft& soft = installation->Soft();
  const QString title = soft.ReadSoftString(QStringLiteral("nom"));
  if (!title.isEmpty()) QApplication::setApplicationDisplayName(title);

  // 10. The installation check.
  const QString report = soft.CheckInstallation();
  if (!report.isEmpty()) {
    Say(QStringLiteral("ERREUR : ") + report);
    if (!soft.Debug) return kEnded;
  }

  // 11. Nothing is copied; the switch only ends the program after the check.
  if (first == QLatin1String("copy_cliparts")) return 0;

  // 12. The codec installer of a folder.
  if (first == QLatin1String("install_tscc")) {
    const QString installer = second + QStringLiteral("/Codec/TSCC.exe");
    if (!second.isEmpty() && QFileInfo(second + QStringLiteral("/Codec")).isDir() &&
        QFileInfo(installer).isFile()) {
      QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(installer).absoluteFilePath()));
      return 0;
    }
    Say(QLatin1Char('"') + second + QStringLiteral("/Codec/TSCC.exe\" not found."));
    return kEnded;
  }

  // 13. A printer.
  Log(QStringLiteral("Printer"));
  if (InstalledPrinters().isEmpty()) {
    Say(MLMessage(1000));
    return kEnded;
  }

  // 14. The splash.
  Log(QStringLiteral("ShowLogo"));
  QPointer<TLogo> logo = TLogo::Show(home + QStringLiteral("/logo.bmp"));

  // 15. The installation's own fonts.
  Log(QStringLiteral("InstallFonts"));
  installation->InstallFonts();

  // The album window's "Ajouter" opens the CD/DVD wizard in its add-album mode.
  TfmAlbumCD::AddAlbumHook = [](QWidget* owner) { return TfmAssistantDVD::AjouteAlbumAssistant(owner); };

  // 16, 17. The two windows that live until the end.
  Log(QStringLiteral("FormMain"));
  auto main = std::make_unique<TfmMain>();
  QObject::connect(main.get(), &TfmMain::Closed, &app, [] { QCoreApplication::exit(0); });
  Log(QStringLiteral("FormEditeur"));
  auto editor = std::make_unique<TfmEditeur>();
  {
    TfmMain* m = main.get();
    TfmEditeur* e = editor.get();
    QObject::connect(m, &TfmMain::OuvreDocument, e, [m, e](const QString& file) {
      if (!e->OuvreDocument(file)) m->show();
    });
    QObject::connect(m, &TfmMain::NouveauDocument, e, &TfmEditeur::NouveauDocument);
    QObject::connect(m, &TfmMain::NouveauDepuisTexte, e, &TfmEditeur::NouveauDepuisTexte);
    QObject::connect(e, &TfmEditeur::Retour, m, [m](bool saved) {
      // A saved document is the catalogue's current template: its documents node shows it.
      if (saved) m->ActualiseEtSelectionne();
      m->show();
    });
    QObject::connect(e, &TfmEditeur::AideDemandee, m, [m] { m->Aide(); });
    QObject::connect(e, &TfmEditeur::Imprime, e,
                     [e](const QString& file) { TfmPrint::ShowPrintDialog(e, file); });
  }

  // 18. The splash goes at the latest now.
  Log(QStringLiteral("FreeLogo"));
  if (logo) logo->close();

  // 19. The message loop, until the main window closes.
  Log(QStringLiteral("Run"));
  QuitOnSignals(&app);
  // Start-up benchmark: LORVANE_BENCH_T0 holds the launch time (nanoseconds since the epoch); the
  // time to the first painted main window goes to standard error and the program ends.
  const qint64 t0 = qEnvironmentVariable("LORVANE_BENCH_T0").toLongLong();
  if (t0 > 0)
    QObject::connect(main.get(), &TfmMain::FirstPaint, &app, [t0] {
      const qint64 ns = QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1000000 - t0;
      std::fprintf(stderr, "first paint: %.1f ms\n", double(ns) / 1e6);
      // Queued: the first paint may come before the loop runs, when a quit would be lost.
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
  // Maximised; without a window manager to do it, as large as the screen allows.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    main->setGeometry(screen->availableGeometry());
  main->showMaximized();
  // Once the loop runs, so that a message about the file stands over the catalogue.
  if (!document.isEmpty())
    QTimer::singleShot(0, main.get(), [&document, m = main.get(), e = editor.get()] {
      OpenGivenDocument(document, *m, *e);
    });
  QApplication::exec();

  editor.reset();
  main.reset();
  Log(QStringLiteral("MLFree"));
  MLFree();
  Log(QStringLiteral("DesinstallFont"));
  installation->RemoveFonts();
  Log(QStringLiteral("Soft.Free"));
  installation.reset();
  Log(QStringLiteral("DONE"));
  return 0;
}
