#pragma once
// What the result-list tests share: small file-hog and duplicate searches
// on the temporary drives, and readers of the window's menu and rows.

#include "frmdup_fixture.h"

#include <QAction>
#include <QPushButton>

namespace duptest {

class DupResultsTest : public DupWindowTest {
protected:
    // Four files of 10, 20, 30 and 40 bytes in C:\h.
    void makeHogs()
    {
        drives.writeFile('C', "h/a.txt", QByteArray(10, 'a'));
        drives.writeFile('C', "h/b.txt", QByteArray(20, 'b'));
        drives.writeFile('C', "h/c.txt", QByteArray(30, 'c'));
        drives.writeFile('C', "h/d.txt", QByteArray(40, 'd'));
    }
    // One group of two: C:\x\same.txt and C:\y\same.txt, 5 bytes each.
    void makeDups()
    {
        drives.writeFile('C', "x/same.txt", "12345");
        drives.writeFile('C', "y/same.txt", "12345");
    }
    // A search over drive C from 0 bytes up; duplicates by name only, which
    // asks no checksum question.
    void hogSearch(finders::TfrmDup& w)
    {
        w.show();
        setSize(w, "rbLarger", 0, 0, false);
        click(w, "btScan");
    }
    void dupSearch(finders::TfrmDup& w)
    {
        w.show();
        setSize(w, "rbLarger", 0, 0, false);
        setMode(w, finders::mmFilename);
        click(w, "btScan");
    }

    static QAction* item(finders::TfrmDup& w, const char* name)
    {
        auto* a = w.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    static QPushButton* button(finders::TfrmDup& w, const char* name) { return find<QPushButton>(w, name); }
    static comp::ResultGridView* gridOf(finders::TfrmDup& w) { return find<comp::ResultGridView>(w, "grid"); }
    // The data row holding a path; 0 when none does.
    static int rowOf(finders::TfrmDup& w, const QString& path)
    {
        for (int r = 1; r <= rows(w); ++r)
            if (w.results().path(r) == path)
                return r;
        return 0;
    }
};

}  // namespace duptest
