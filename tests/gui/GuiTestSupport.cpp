#include "tests/gui/GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QStatusBar>
#include <QTest>
#include <QWidget>

#include "dialogs/IntegerSpinEdit.h"
#include "dialogs/TransposeDialog.h"
#include "document/Settings.h"
#include "document/SonavelDoc.h"
#include "engine/NoteTable.h"
#include "shell/ChildFrame.h"
#include "tests/support/TempFiles.h"

namespace sonavel::test {

std::vector<ColorRef> Colors(const TextControl& control) {
  std::vector<ColorRef> colors;
  for (long i = 0; i < control.Length(); ++i) colors.push_back(control.ColorAt(i));
  return colors;
}

EditState StateOf(const TextControl& control) {
  return {control.Text8(), Colors(control), control.GetSel(), control.IsModified()};
}

void PrintTo(const EditState& s, std::ostream* out) {
  *out << "{" << s.text << " | " << ::testing::PrintToString(s.colors) << " | " << s.selection.start << "-"
       << s.selection.end << (s.modified ? " | modified}" : "}");
}

ColorRef WidgetTextColor(const QWidget& edit) {
  const QColor c = edit.palette().color(QPalette::Active, QPalette::Text);
  return MakeColorRef(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                      static_cast<unsigned>(c.blue()));
}

bool FakeDocManager::DoPromptFileName(QString& fileName, const QString&, bool, QWidget*) {
  proposed = fileName;
  if (answer.isEmpty()) return false;
  fileName = answer;
  return true;
}

void MainWindowTest::StartMainWindow(const QLocale& locale) {
  BuildChordTable();
  theSettings().SetDefaults();
  theSettings().autoColor = false;
  theSettings().autoColorOnOpen = false;
  QApplication::clipboard()->clear();
  m_translations = std::make_unique<CTranslations>(locale);
  ASSERT_EQ(m_translations->Language().language(), locale.language()) << "the catalogues are missing";
  m_frame = std::make_unique<CMainFrame>(m_docManager);
  m_frame->show();
  QApplication::setActiveWindow(m_frame.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
}

std::string LanguageName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Swedish" : "English"; }

void MainWindowTest::TearDown() {
  if (m_frame) m_frame->CloseAllDocuments();
  m_frame.reset();
  m_translations.reset();
  theSettings().SetDefaults();
}

QString MainWindowTest::WriteSong(const QString& name, std::string_view bytes) {
  const QString path = m_dir.filePath(name);
  WriteFile(path.toStdString(), bytes);
  return path;
}

CSonavelView* MainWindowTest::Open(const std::string& bytes) {
  CChildFrame* child = m_frame->OpenFile(WriteSong(QStringLiteral("song%1.crd").arg(++m_files), bytes));
  EXPECT_NE(child, nullptr);
  return child != nullptr ? child->View() : nullptr;
}

void MainWindowTest::Press(int key, Qt::KeyboardModifiers modifiers) {
  // The window manager gives the focus back when a dialog closes; here the
  // test does, or the window's shortcuts would not reach it.
  if (QApplication::activeWindow() != m_frame.get()) QApplication::setActiveWindow(m_frame.get());
  QTest::keyClick(m_frame->ActiveView(), static_cast<Qt::Key>(key), modifiers);
}

void MainWindowTest::Type(const std::string& text) {
  for (const char c : text) {
    if (c == '\n') Press(Qt::Key_Return);
    else QTest::keyClick(View(), c);
  }
}

QString MainWindowTest::Status() const { return m_frame->statusBar()->currentMessage(); }

std::string MainWindowTest::Text() const { return CSonavelDoc::PlainText(*View()->document()).toStdString(); }

std::string MainWindowTest::Mask() const { return ColorMask(View()->Control(), View()->Document().Options()); }

void MainWindowTest::AnswerNextBox(QString* text, QMessageBox::StandardButton button) {
  WhenModal<QMessageBox>([text, button](QMessageBox* box) {
    *text = box->text();
    box->button(button)->click();
  });
}

void MainWindowTest::AnswerTransposeDialog(int steps, bool ok) {
  WhenModal<CTransposeDlg>([steps, ok](CTransposeDlg* dialog) {
    dialog->findChild<CIntegerSpinEdit*>(QStringLiteral("steps"))->setValue(steps);
    ok ? dialog->accept() : dialog->reject();
  });
}

}  // namespace sonavel::test
