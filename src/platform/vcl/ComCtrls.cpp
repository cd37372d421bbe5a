#include "platform/vcl/ComCtrls.h"

#include "platform/rtl/SysUtils.h"

#include <QSignalBlocker>
#include <QTabWidget>

namespace platform::vcl {

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner, new QTabWidget) {
    QObject::connect(Tabs(), &QTabWidget::currentChanged, Tabs(), [this] {
        if (OnChange && !IsDestroying()) GuardedCall([this] { OnChange(this); });
    });
}

QTabWidget* TPageControl::Tabs() const {
    return static_cast<QTabWidget*>(WidgetAsIs());
}

int TPageControl::PageCount() const {
    return Tabs()->count();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount())
        throw rtl::EStringListError(rtl::Format("List index out of bounds (%d)", index));
    return dynamic_cast<TTabSheet*>(TControl::FromWidget(Tabs()->widget(index)));
}

TTabSheet* TPageControl::ActivePage() const {
    return dynamic_cast<TTabSheet*>(TControl::FromWidget(Tabs()->currentWidget()));
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (!page || page->PageControl() != this) return;
    QSignalBlocker block(Tabs());
    Tabs()->setCurrentWidget(page->Widget());
}

int TPageControl::ActivePageIndex() const {
    return Tabs()->currentIndex();
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) return;
    QSignalBlocker block(Tabs());
    Tabs()->setCurrentIndex(index);
}

void TPageControl::AddSheet(TTabSheet* sheet) {
    QSignalBlocker block(Tabs());
    Tabs()->addTab(sheet->Widget(), QString::fromStdString(sheet->Caption()));
}

void TPageControl::RemoveSheet(TTabSheet* sheet) {
    QSignalBlocker block(Tabs());
    const int index = Tabs()->indexOf(sheet->Widget());
    if (index >= 0) Tabs()->removeTab(index);
}

bool TPageControl::SetDesignEvent(const std::string& name, const std::any& handler) {
    if (name == "OnChange") return BindDesignHandler(handler, OnChange);
    return TWinControl::SetDesignEvent(name, handler);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner, new QWidget) {}

TTabSheet::~TTabSheet() {
    if (pageControl_ && !pageControl_->IsDestroying()) pageControl_->RemoveSheet(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (pageControl_) pageControl_->RemoveSheet(this);
    pageControl_ = dynamic_cast<TPageControl*>(parent);
    TWinControl::SetParent(parent);
    // The tab widget places its pages itself.
    if (pageControl_) pageControl_->AddSheet(this);
}

void TTabSheet::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    if (!pageControl_) return;
    const int index = pageControl_->Tabs()->indexOf(Widget());
    if (index >= 0) pageControl_->Tabs()->setTabText(index, QString::fromStdString(caption));
}

int TTabSheet::PageIndex() const {
    return pageControl_ ? pageControl_->Tabs()->indexOf(Widget()) : -1;
}

} // namespace platform::vcl
