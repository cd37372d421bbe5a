#pragma once
// A main window and the busy window as the program block creates them: Form1 first,
// then FormLoadingUI with its creation handler run, the busy window installed for the
// device transfers. Everything is undone afterwards.
#include "window/shell/BusyWindow.h"
#include "window/shell/FormLoading.h"
#include "window/Main.h"

#include <gtest/gtest.h>
#include <memory>

class FormLoadingFixture : public ::testing::Test {
protected:
    // Creates Form1 at the given place and size, then the busy window.
    void Create(int left, int top, int width, int height) {
        main_ = std::make_unique<window::TForm1>(nullptr);
        main_->SetBounds(left, top, width, height);
        window::Form1 = main_.get();
        busy_ = std::make_unique<window::shell::TFormLoadingUI>(nullptr);
        window::shell::FormLoadingUI = busy_.get();
        ASSERT_TRUE(busy_->DoCreate());
        window::shell::InstallBusyWindow();
    }

    void TearDown() override {
        window::shell::UninstallBusyWindow();
        busy_.reset();
        main_.reset();
        window::shell::FormLoadingUI = nullptr;
        window::Form1 = nullptr;
    }

    window::TForm1& Main() { return *main_; }
    window::shell::TFormLoadingUI& Busy() { return *busy_; }

private:
    std::unique_ptr<window::TForm1> main_;
    std::unique_ptr<window::shell::TFormLoadingUI> busy_;
};
