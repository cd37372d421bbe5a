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
        main_ = std::make_unique<shell::TForm1>(nullptr);
        main_->SetBounds(left, top, width, height);
        shell::Form1 = main_.get();
        busy_ = std::make_unique<shell::TFormLoadingUI>(nullptr);
        shell::FormLoadingUI = busy_.get();
        ASSERT_TRUE(busy_->DoCreate());
        shell::InstallBusyWindow();
    }

    void TearDown() override {
        shell::UninstallBusyWindow();
        busy_.reset();
        main_.reset();
        shell::FormLoadingUI = nullptr;
        shell::Form1 = nullptr;
    }

    shell::TForm1& Main() { return *main_; }
    shell::TFormLoadingUI& Busy() { return *busy_; }

private:
    std::unique_ptr<shell::TForm1> main_;
    std::unique_ptr<shell::TFormLoadingUI> busy_;
};
