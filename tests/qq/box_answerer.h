// Answers the message boxes that the code under test shows on this thread, from a second thread,
// through the real box as a user would.
#pragma once
#include <windows.h>
#include <atomic>
#include <thread>
#include <vector>
#include "driver/driver.h"

// Answers message boxes of this process in turn (IDOK, IDCANCEL, or 0 for the close box) and
// counts every box beyond those, closing it so that nothing hangs.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<int> answers)
        : worker_([this, answers] {
              size_t next = 0;
              while (!stop_) {
                  MessageBoxInfo info;
                  if (!WaitForMessageBox(GetCurrentProcessId(), 100, &info)) continue;
                  seen_.push_back(info);
                  int answer = next < answers.size() ? answers[next++] : 0;
                  if (answer == 0)
                      CloseDialog(info.hwnd);
                  else
                      PressDialogButton(info.hwnd, answer);
                  while (IsWindow(info.hwnd) && !stop_) Sleep(20);
              }
          })
    {
    }
    ~BoxAnswerer() { Finish(); }
    const std::vector<MessageBoxInfo>& Finish()
    {
        stop_ = true;
        if (worker_.joinable()) worker_.join();
        return seen_;
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<MessageBoxInfo> seen_;
    std::thread worker_;
};

