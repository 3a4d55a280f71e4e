#pragma once
// TfrmKeepFiles: the protected extensions (settings list "NoDelExt"). The
// list is stored whenever the window closes, whatever closes it.

#include "components/extensionchoice.h"
#include "harbor/extensionlist.h"

#include <QDialog>
#include <functional>
#include <optional>

class QListWidget;
class QPushButton;

namespace harbor {

class TfrmKeepFiles : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKeepFiles(QWidget* owner = nullptr);

    // Shows the extension picker modally: the choice on OK, nothing on
    // Cancel. Tests put a picker of their own in place.
    using ExtensionPicker = std::function<std::optional<comp::ExtensionChoice>(QWidget* owner)>;
    static void setExtensionPicker(ExtensionPicker picker);  // empty = the real picker

    QListWidget* PickList1 = nullptr;

    void btAddClick();
    void btDelClick();
    void btClearClick();
    void btDefaultsClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void refill();
    QList<int> selectedRows() const;
    ExtensionListEditor list_;
    // Set from show to the first close: only a list that was shown is stored.
    bool open_ = false;
};

}  // namespace harbor
