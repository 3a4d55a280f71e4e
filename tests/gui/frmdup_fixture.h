#pragma once
// What the duplicate/file-hog window tests share: the scope window fixture
// (temporary drives C and D, scripted prompter, fixed type names), fresh
// sort directions, and readers of the window's controls and rows.

#include "finders_testutil.h"

#include "components/drivechecklist.h"
#include "components/resultgrid.h"
#include "components/resultgridview.h"
#include "finders/frmdup.h"
#include "reports/sortcommand.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

namespace duptest {

using Kind = core::ScriptedPrompter::Kind;

class DupWindowTest : public finders_test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // The sort directions live for the whole run; each test starts as
        // the program does.
        reports::ResetSortDirections();
    }

    template <class T>
    static T* find(QWidget& w, const char* name)
    {
        T* c = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void click(QWidget& w, const char* name)
    {
        auto* b = find<QAbstractButton>(w, name);
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
        b->click();
    }
    // Size criteria as a user sets them after the window was shown.
    static void setSize(finders::TfrmDup& w, const char* radio, int n1, int n2, bool kb)
    {
        find<QRadioButton>(w, radio)->click();
        find<QSpinBox>(w, "num1")->setValue(n1);
        find<QSpinBox>(w, "num2")->setValue(n2);
        find<QComboBox>(w, "cbKB1")->setCurrentIndex(kb ? 1 : 0);
    }
    static void setMode(finders::TfrmDup& w, int mode) { find<QComboBox>(w, "cbDup")->setCurrentIndex(mode); }

    // Saves a picture of the window when TROVIK_SNAPSHOT_DIR names a folder,
    // for a look by eye.
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }

    // The data rows as the grid holds them.
    static int rows(finders::TfrmDup& w) { return w.results().rowsUsed(); }
    static QStringList column(finders::TfrmDup& w, int col)
    {
        QStringList out;
        for (int r = 1; r <= rows(w); ++r)
            out << w.results().cell(r, col);
        return out;
    }
    static QString shades(finders::TfrmDup& w)
    {
        QString out;
        for (int r = 1; r <= rows(w); ++r)
            out += QChar(w.results().shade(r));
        return out;
    }
    static QStringList paths(finders::TfrmDup& w)
    {
        QStringList out;
        for (int r = 1; r <= rows(w); ++r)
            out << w.results().path(r);
        return out;
    }
    static QStringList visibleButtons(finders::TfrmDup& w)
    {
        QStringList out;
        for (const char* name :
             {"btScan", "btClose", "btAbort", "btMark", "btDelete", "btOptions", "btBrowse", "btDetails", "btCompare"})
            if (!find<QWidget>(w, name)->isHidden())
                out << QLatin1String(name);
        return out;
    }
};

}  // namespace duptest
