#include "app/mMain.h"

#include <QApplication>
#include <QDateTime>
#include <QSettings>
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/frmMain.h"
#include "base/AppInfo.h"
#include "colour/SystemColourRefresh.h"

namespace lumora::mMain {

QString PendingProjectPath;

QString HomePageAddress() { return QString::fromUtf8(kHomePageAddress); }
QString ProductPageAddress() { return QString::fromUtf8(kProductPageAddress); }

QString ArgumentText(const QStringList& arguments) { return arguments.mid(1).join(u' '); }

QString ProjectPathFromArgument(const QString& text) {
  if (text.startsWith(u'"')) return text.mid(1, std::max<qsizetype>(0, text.size() - 2));
  qsizetype first = 0, last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.mid(first, last - first);
}

void WriteProgramPath(const QString& programFolder) {
  QSettings settings(QStringLiteral("ZEB Software"));
  settings.beginGroup(QStringLiteral("General"));
  settings.setValue(QStringLiteral("ZEBLumoraPath"), programFolder);
  settings.endGroup();
}

namespace {

// With LUMORA_REPORT_FIRST_PAINT set, the program prints the wall clock (ms since the epoch) at
// the main window's first paint and quits: how start-up time is measured from outside.
class FirstPaintProbe : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_done) {
      m_done = true;
      std::printf("first-paint %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
      std::fflush(stdout);
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool m_done = false;
};

}  // namespace

int Main(int argc, char** argv) {
  // Answered before Qt opens the window system, so it needs no display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("lumora %s\n", kVersionText);
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
  QApplication::setOrganizationName(QStringLiteral("ZEB Software"));
  RefreshSystemColours(QApplication::palette());
  WriteProgramPath(QApplication::applicationDirPath());
  PendingProjectPath = ProjectPathFromArgument(ArgumentText(QApplication::arguments()));
  frmMain window;
  FirstPaintProbe probe;
  if (qEnvironmentVariableIsSet("LUMORA_REPORT_FIRST_PAINT")) window.installEventFilter(&probe);
  window.show();
  return QApplication::exec();
}

}  // namespace lumora::mMain
