// The frame the record editors share: the two check boxes, save, new and close, and navigation.
#pragma once

#include "platform/ui/WorkWindow.h"

class QBoxLayout;
class QCheckBox;
class QPushButton;

namespace lb::db {
class Query;
}

namespace lb::masterdata {

// A record editor shows the current row of a shared dataset. The subclass fills its boxes
// (FormShow), makes them editable or read-only by "修改" (CheckBox1Click), saves
// (Button1Click) and starts a new record (Button2Click). The frame builds the controls every
// editor has, runs FormShow whenever the program shows the window, and moves the dataset for
// the four navigation buttons: each leaves the editor in modify mode (AddMode off, EditIntno
// the row reached) showing that row; on an empty dataset they do nothing.
class RecordEditor : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    QCheckBox* CheckBox1 = nullptr;  // 修改
    QCheckBox* CheckBox2 = nullptr;  // 新增时复制上一记录
    QPushButton* Button1 = nullptr;  // 保存
    QPushButton* Button2 = nullptr;  // 新增
    QPushButton* Button5 = nullptr;  // 返回 (closes)

    // The commands, by the names the editors of this program give them.
    virtual void FormShow() = 0;
    virtual void CheckBox1Click() = 0;
    virtual void Button1Click() = 0; // save
    virtual void Button2Click() = 0; // new
    void BitBtn1Click();             // first
    void BitBtn2Click();             // last
    void BitBtn3Click();             // prior
    void BitBtn4Click();             // next

protected:
    explicit RecordEditor(QWidget* owner);
    // Adds the check boxes and the button row at the end of `layout` and wires them.
    void addControls(QBoxLayout* layout);
    // The dataset whose current row the editor shows and writes. Not owned.
    virtual lb::db::Query& records() const = 0;
    void showEvent(QShowEvent* event) override;

private:
    void navigate(void (*move)(lb::db::Query&));
};

} // namespace lb::masterdata
