#include "shell/FileAssociations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTextStream>
#include <QTranslator>
#include <QXmlStreamWriter>
#include <algorithm>

#include "res/StringTable.h"

namespace sonavel {
namespace {

constexpr const char* kSwedish = "sv";
constexpr const char* kSwedishCatalogue = ":/i18n/sonavel_sv.qm";
constexpr const char* kContext = "FileAssociations";
constexpr int kToolTimeoutMs = 60000;

// Texts of the desktop entry; the marks are read by lupdate.
constexpr const char* kGenericName = QT_TRANSLATE_NOOP("FileAssociations", "Song sheet editor");
constexpr const char* kComment = QT_TRANSLATE_NOOP("FileAssociations", "Edit, colour and transpose song sheets");
constexpr const char* kPrintName = QT_TRANSLATE_NOOP("FileAssociations", "Print");
constexpr const char* kPrintToName = QT_TRANSLATE_NOOP("FileAssociations", "Print To");

// The desktop's files carry the English text and the Swedish one side by
// side, whatever language the program runs in now.
class CSwedishTexts {
 public:
  CSwedishTexts() { m_loaded = m_catalogue.load(QString::fromLatin1(kSwedishCatalogue)); }

  // Empty when there is no Swedish text, so that the English one stands.
  QString Text(const char* context, const char* source, const char* disambiguation = nullptr) const {
    return m_loaded ? m_catalogue.translate(context, source, disambiguation) : QString();
  }
  QString StringTable(int id) const {
    return Text(kStringTableContext, EnglishString(id).data(), Disambiguation(id));
  }

 private:
  QTranslator m_catalogue;
  bool m_loaded = false;
};

QString EnvironmentPath(const char* variable, const QString& fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  // The XDG rules ignore a relative path.
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return value;
  return QDir::homePath() + u'/' + fallbackUnderHome;
}

// Written to a temporary file beside the target and renamed over it, so a
// failure never leaves half a file.
bool WriteWholeFile(const QString& path, const QByteArray& contents) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(contents) != contents.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

// A value of a desktop entry: backslashes and control characters escaped.
QString DesktopValue(const QString& text) {
  QString escaped;
  for (const QChar c : text) {
    if (c == u'\\') {
      escaped += QStringLiteral("\\\\");
    } else if (c == u'\n') {
      escaped += QStringLiteral("\\n");
    } else if (c == u'\t') {
      escaped += QStringLiteral("\\t");
    } else if (c == u'\r') {
      escaped += QStringLiteral("\\r");
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// The program as the first word of an Exec line: the desktop splits the
// line at spaces and reads its own quoting and field codes, so a path with
// any of those characters is quoted, and a percent sign doubled.
QString ExecProgram(const QString& program) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool quote = false;
  QString word;
  for (const QChar c : program) {
    if (reserved.contains(c)) quote = true;
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') word += u'\\';
    word += c == u'%' ? QStringLiteral("%%") : QString(c);
  }
  return quote ? u'"' + word + u'"' : word;
}

void AddLocalised(QTextStream& out, const char* key, const QString& english, const QString& swedish) {
  out << key << '=' << DesktopValue(english) << '\n';
  if (!swedish.isEmpty() && swedish != english) out << key << '[' << kSwedish << "]=" << DesktopValue(swedish) << '\n';
}

// "text/x-a=one.desktop;two.desktop;" -> the value's first entry.
QString FirstListEntry(const QString& value) { return value.section(u';', 0, 0).trimmed(); }

}  // namespace

QString MimeTypeName(const FileType& type) {
  return QStringLiteral("text/x-") + QString::fromLatin1(type.classId).toLower();
}

CFileAssociations::CFileAssociations()
    : CFileAssociations(QCoreApplication::applicationFilePath(),
                        EnvironmentPath("XDG_DATA_HOME", QStringLiteral(".local/share")),
                        EnvironmentPath("XDG_CONFIG_HOME", QStringLiteral(".config"))) {}

CFileAssociations::CFileAssociations(QString program, QString dataHome, QString configHome)
    : m_program(std::move(program)), m_dataHome(std::move(dataHome)), m_configHome(std::move(configHome)) {}

QString CFileAssociations::MimeDirectory() const { return m_dataHome + QStringLiteral("/mime"); }

QString CFileAssociations::PackagePath(const FileType& type) const {
  return MimeDirectory() + QStringLiteral("/packages/sonavel-") + QString::fromLatin1(type.extension) +
         QStringLiteral(".xml");
}

QString CFileAssociations::DesktopEntryPath() const {
  return m_dataHome + QStringLiteral("/applications/") + QString::fromLatin1(kDesktopFileName);
}

QByteArray CFileAssociations::PackageXml(const FileType& type) const {
  const CSwedishTexts swedish;
  QByteArray xml;
  QXmlStreamWriter out(&xml);
  out.setAutoFormatting(true);
  out.setAutoFormattingIndent(2);
  out.writeStartDocument();
  out.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
  out.writeStartElement(QStringLiteral("mime-info"));
  out.writeStartElement(QStringLiteral("mime-type"));
  out.writeAttribute(QStringLiteral("type"), MimeTypeName(type));
  // Song files are plain text: editors and viewers of text still offer them.
  out.writeEmptyElement(QStringLiteral("sub-class-of"));
  out.writeAttribute(QStringLiteral("type"), QStringLiteral("text/plain"));
  out.writeTextElement(QStringLiteral("comment"), QString::fromUtf8(EnglishString(type.descriptionId)));
  const QString swedishComment = swedish.StringTable(type.descriptionId);
  if (!swedishComment.isEmpty()) {
    out.writeStartElement(QStringLiteral("comment"));
    out.writeAttribute(QStringLiteral("xml:lang"), QString::fromLatin1(kSwedish));
    out.writeCharacters(swedishComment);
    out.writeEndElement();
  }
  out.writeEmptyElement(QStringLiteral("icon"));
  out.writeAttribute(QStringLiteral("name"), QString::fromLatin1(kDocumentIconName));
  out.writeEmptyElement(QStringLiteral("glob"));
  out.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + QString::fromLatin1(type.extension));
  out.writeEndDocument();
  return xml;
}

QByteArray CFileAssociations::DesktopEntry(const QStringList& mimeTypes) const {
  const CSwedishTexts swedish;
  const auto local = [&swedish](const char* source) { return swedish.Text(kContext, source); };
  const QString program = ExecProgram(m_program);
  QByteArray entry;
  QTextStream out(&entry);
  out << "[Desktop Entry]\n"
      << "Type=Application\n";
  AddLocalised(out, "Name", QString::fromUtf8(EnglishString(IDS_APP_TITLE)), swedish.StringTable(IDS_APP_TITLE));
  AddLocalised(out, "GenericName", QString::fromLatin1(kGenericName), local(kGenericName));
  AddLocalised(out, "Comment", QString::fromLatin1(kComment), local(kComment));
  out << "Icon=" << kProgramIconName << '\n'
      << "Exec=" << DesktopValue(program + QStringLiteral(" /dde %f")) << '\n'
      << "Terminal=false\n"
      << "Categories=Utility;TextEditor;\n"
      << "MimeType=" << mimeTypes.join(u';') << ";\n"
      << "Actions=print;printto;\n";
  out << "\n[Desktop Action print]\n";
  AddLocalised(out, "Name", QString::fromLatin1(kPrintName), local(kPrintName));
  out << "Exec=" << DesktopValue(program + QStringLiteral(" /dde /p %f")) << '\n';
  // The desktop names no printer, driver or port: the program then prints
  // on the printer chosen in it.
  out << "\n[Desktop Action printto]\n";
  AddLocalised(out, "Name", QString::fromLatin1(kPrintToName), local(kPrintToName));
  out << "Exec=" << DesktopValue(program + QStringLiteral(" /dde /pt %f")) << '\n';
  out.flush();
  return entry;
}

bool CFileAssociations::Register(const FileTypeSelection& chosen) const {
  FileTypeSelection done{};
  bool ok = true;
  for (int i = 0; i < kFileTypeCount; ++i) {
    if (!chosen[i]) continue;
    if (!WriteWholeFile(PackagePath(kFileTypes[i]), PackageXml(kFileTypes[i]))) {
      ok = false;
      break;
    }
    done[i] = true;
  }
  if (std::find(done.begin(), done.end(), true) == done.end()) return ok;
  // Without the icons the types still open with the program: not a failure.
  InstallIcons();
  ok = WriteDesktopEntry(done) && ok;
  ok = RunTool(QStringLiteral("update-mime-database"), {MimeDirectory()}) && ok;
  return SetDefaults(done) && ok;
}

bool CFileAssociations::WriteDesktopEntry(const FileTypeSelection& done) const {
  // Types registered before stay listed.
  const QStringList listed = ListedMimeTypes();
  QStringList mimeTypes;
  for (int i = 0; i < kFileTypeCount; ++i) {
    const QString name = MimeTypeName(kFileTypes[i]);
    if (done[i] || listed.contains(name)) mimeTypes << name;
  }
  return WriteWholeFile(DesktopEntryPath(), DesktopEntry(mimeTypes));
}

bool CFileAssociations::InstallIcons() const {
  const QString theme = m_dataHome + QStringLiteral("/icons/hicolor/scalable/");
  const struct {
    const char* name;
    const char* folder;
  } icons[] = {{kProgramIconName, "apps/"}, {kDocumentIconName, "mimetypes/"}};
  bool ok = true;
  for (const auto& icon : icons) {
    const QString name = QString::fromLatin1(icon.name) + QStringLiteral(".svg");
    QFile source(QStringLiteral(":/icons/") + name);
    ok = source.open(QIODevice::ReadOnly) && WriteWholeFile(theme + QString::fromLatin1(icon.folder) + name,
                                                            source.readAll()) && ok;
  }
  return ok;
}

bool CFileAssociations::SetDefaults(const FileTypeSelection& done) const {
  QStringList arguments{QStringLiteral("default"), QString::fromLatin1(kDesktopFileName)};
  for (int i = 0; i < kFileTypeCount; ++i) {
    if (done[i]) arguments << MimeTypeName(kFileTypes[i]);
  }
  return RunTool(QStringLiteral("xdg-mime"), arguments);
}

bool CFileAssociations::RunTool(const QString& program, const QStringList& arguments) const {
  // The tools work in the same folders as this object, whatever the
  // environment says.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dataHome);
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configHome);
  QProcess tool;
  tool.setProcessEnvironment(environment);
  tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  tool.setStandardOutputFile(QProcess::nullDevice());
  tool.start(program, arguments);
  if (!tool.waitForFinished(kToolTimeoutMs)) {
    tool.kill();
    tool.waitForFinished();
    return false;
  }
  return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QStringList CFileAssociations::ListedMimeTypes() const {
  QFile file(DesktopEntryPath());
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QStringList listed;
  bool inMainGroup = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(u'[')) inMainGroup = line == QStringLiteral("[Desktop Entry]");
    if (inMainGroup && line.startsWith(QStringLiteral("MimeType="))) {
      listed = line.section(u'=', 1).split(u';', Qt::SkipEmptyParts);
    }
  }
  return listed;
}

QString CFileAssociations::DefaultDesktopFile(const QString& mimeType) const {
  QFile file(m_configHome + QStringLiteral("/mimeapps.list"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  const QString key = mimeType + u'=';
  bool inDefaults = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(u'[')) inDefaults = line == QStringLiteral("[Default Applications]");
    if (inDefaults && line.startsWith(key)) return FirstListEntry(line.mid(key.size()));
  }
  return {};
}

FileTypeSelection CFileAssociations::Registered() const {
  const QStringList listed = ListedMimeTypes();
  FileTypeSelection registered{};
  for (int i = 0; i < kFileTypeCount; ++i) {
    const QString name = MimeTypeName(kFileTypes[i]);
    registered[i] = QFileInfo::exists(PackagePath(kFileTypes[i])) && listed.contains(name) &&
                    DefaultDesktopFile(name) == QLatin1String(kDesktopFileName);
  }
  return registered;
}

}  // namespace sonavel
