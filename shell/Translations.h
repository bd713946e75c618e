#pragma once
// The interface's texts in one language: the program's own catalogues
// (built into the program) and Qt's own, for its standard dialogs and
// buttons. Installed for the object's lifetime.

#include <QLocale>
#include <QTranslator>
#include <memory>
#include <vector>

class CTranslations {
 public:
  // Where the program's catalogues are: one "<name>_<language>.qm" per
  // catalogue.
  static constexpr const char* kCatalogueDirectory = ":/i18n";

  // Installs the catalogues of the locale's language when the program
  // speaks it, else of English (whose catalogue holds only the singular and
  // plural forms of texts with a count).
  explicit CTranslations(const QLocale& locale);
  ~CTranslations();
  CTranslations(const CTranslations&) = delete;
  CTranslations& operator=(const CTranslations&) = delete;

  // How many catalogues were installed.
  int Count() const { return static_cast<int>(m_installed.size()); }
  // The language the interface speaks.
  QLocale Language() const { return m_language; }

 private:
  static QLocale English();
  static bool SpeaksLanguageOf(const QLocale& locale);
  bool Install(const QLocale& locale, const QString& name, const QString& directory);

  QLocale m_language;
  std::vector<std::unique_ptr<QTranslator>> m_installed;
};
