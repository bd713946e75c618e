#include "shell/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSet>

namespace {

// Qt 6 asks for the texts of standard buttons and of the editor's context
// menu under these contexts, which the distributions' older combined "qt"
// catalogue does not know; the program's own catalogue carries them. The
// marks are read by lupdate only.
[[maybe_unused]] constexpr const char* kQtTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save All"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Open"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Yes to &All"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "N&o to All"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Abort"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Retry"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Ignore"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Discard"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Help"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Apply"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Reset"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Restore Defaults"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&OK"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&Save"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&Cancel"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "&Close"),
    QT_TRANSLATE_NOOP("QGnomeTheme", "Close without Saving"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "&Undo"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "&Redo"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "Cu&t"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "&Copy"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "Copy &Link Location"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "&Paste"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "Delete"),
    QT_TRANSLATE_NOOP("QWidgetTextControl", "Select All"),
};

// "sonavel_sv.qm" -> "sonavel": the catalogue's name without its language.
QString CatalogueName(const QString& fileName) {
  const QString base = QFileInfo(fileName).completeBaseName();
  const qsizetype underscore = base.indexOf(u'_');
  return underscore > 0 ? base.left(underscore) : base;
}

}  // namespace

CTranslations::CTranslations(const QLocale& locale) : m_language(SpeaksLanguageOf(locale) ? locale : English()) {
  // Qt's standard buttons and dialogs in the program's language only: a
  // German desktop gets an English program, not one with German buttons.
  // Newer Qt ships "qtbase", older distributions the combined "qt". They go
  // first, so that the program's own catalogues, which add what Qt's lack,
  // are asked before them.
  const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!Install(m_language, QStringLiteral("qtbase"), qtDirectory)) Install(m_language, QStringLiteral("qt"), qtDirectory);

  QSet<QString> names;
  const QStringList files = QDir(QString::fromLatin1(kCatalogueDirectory)).entryList({QStringLiteral("*.qm")});
  for (const QString& file : files) names.insert(CatalogueName(file));
  for (const QString& name : names) Install(m_language, name, QString::fromLatin1(kCatalogueDirectory));
}

QLocale CTranslations::English() { return QLocale(QLocale::English, QLocale::UnitedStates); }

bool CTranslations::SpeaksLanguageOf(const QLocale& locale) {
  QTranslator probe;
  return probe.load(locale, QStringLiteral("sonavel"), QStringLiteral("_"), QString::fromLatin1(kCatalogueDirectory));
}

CTranslations::~CTranslations() {
  for (const auto& translator : m_installed) QCoreApplication::removeTranslator(translator.get());
}

bool CTranslations::Install(const QLocale& locale, const QString& name, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, name, QStringLiteral("_"), directory)) return false;
  if (translator->isEmpty()) return false;
  if (!QCoreApplication::installTranslator(translator.get())) return false;
  m_installed.push_back(std::move(translator));
  return true;
}
