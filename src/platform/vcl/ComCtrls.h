#pragma once
// Page controls and their sheets.
#include "platform/vcl/Controls.h"

class QTabWidget;

namespace platform::vcl {

class TTabSheet;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    int PageCount() const;
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    // Runs no handler.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    // Runs when the user turns to another sheet.
    TNotifyEvent OnChange;

    bool SetDesignEvent(const std::string& name, const std::any& handler) override;

protected:
    bool ClickOnRelease() const override { return false; }

private:
    friend class TTabSheet;
    QTabWidget* Tabs() const;
    void AddSheet(TTabSheet* sheet);
    void RemoveSheet(TTabSheet* sheet);
};

// A sheet becomes a page of the page control that is made its parent.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }
    void SetParent(TWinControl* parent) override;
    void SetCaption(const std::string& caption) override;
    int PageIndex() const;

private:
    TPageControl* pageControl_ = nullptr;
};

} // namespace platform::vcl
