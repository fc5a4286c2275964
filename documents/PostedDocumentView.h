// The read-only view of a posted document, with its reversals, voiding and copying.
#pragma once

#include "documents/DocumentWindow.h"
#include "documents/PostedViewConfig.h"

#include <QString>
#include <exception>

namespace lb::documents {

// Shows the document CurrentBillNo names (AQoutlist pointed at it, AQoutdetail at its lines).
// A document posted in full offers 冲数; a booked one 冲帐 and 作废 (by the route its header
// records, else by the posting mode). 转抄 makes an open copy
// and hands it to the kind's list, which opens it in the entry form. Every way out points
// AQoutlist back at the whole header table and closes the lines.
class PostedDocumentView : public DocumentWindow {
    Q_OBJECT
public:
    PostedDocumentView(PostedViewConfig config, QWidget* owner);
    ~PostedDocumentView() override;

    const PostedViewConfig& config() const { return config_; }

    void FormShow() override;
    void ToolButton6Click(); // 冲数
    void ToolButton1Click(); // 冲帐
    void ToolButton2Click(); // 作废
    void ToolButton3Click(); // 转抄
    void ToolButton5Click(); // 打印
    void ToolButton7Click(); // 退回
    void discardClick();     // 废弃 of an order: deleted, nothing to take back

protected:
    std::function<void()> commandNamed(const QString& name) override;
    void onClosing() override;

private:
    // The command that failed with `error` rolled back: the view reads the document anew and
    // says "该功能暂时不能执行，请重新操作！", with the error's cause below it; the error log
    // keeps both with the error's own words.
    void generalFailure(const std::exception& error);
    void voidDocument(bool unbookStock);

    PostedViewConfig config_;
    bool handedOver_ = false; // 转抄 gave the shared datasets to the entry form
};

} // namespace lb::documents
