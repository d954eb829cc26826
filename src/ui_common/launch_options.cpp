#include "ui_common/launch_options.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/user_folder.h"

namespace m2::ui {

std::optional<QString> ApplyLaunchOptions(bool takesPath) {
  QStringList arguments = QCoreApplication::arguments();
  const QByteArray program = QFile::encodeName(QFileInfo(arguments.takeFirst()).fileName());
  std::vector<std::string> args;
  for (const QString& a : arguments) args.push_back(QFile::encodeName(a).toStdString());
  const LaunchOptions options = ParseLaunchOptions(args, takesPath);
  if (!options.error.empty()) {
    std::fprintf(stderr, "%s: %s\nusage: %s [%s]%s\n", program.constData(), options.error.c_str(),
                 program.constData(), kUserFolderOption, takesPath ? " [FILE.dlf]" : "");
    return std::nullopt;
  }
  QString path;
  if (!options.path.empty())
    path = QFileInfo(QFile::decodeName(QByteArray::fromStdString(options.path))).absoluteFilePath();
  if (options.userFolder) {
    const auto folder = UserFolderPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (const std::error_code ec = EnterUserFolder(folder))
      std::fprintf(stderr, "%s: cannot use the folder %s (%s); working in the current folder\n",
                   program.constData(), folder.c_str(), ec.message().c_str());
  }
  return path;
}

}  // namespace m2::ui
