#pragma once
// The Qt application a command of the sound module runs in.
#include <QCoreApplication>

#include <memory>
#include <string>

namespace vorlo::tools {

// With `withVideo`, the video module beside the program is installed as the media device's video back end and makes
// the application (one with a window where there is a display); otherwise, or when the module cannot be loaded, a
// plain QCoreApplication is made (a video then says why it cannot play when it is opened). Keeps the arguments the
// application was given for as long as it lives.
class ToolApplication {
public:
    ToolApplication(const std::string& programFolder, bool withVideo);
    ToolApplication(const ToolApplication&) = delete;
    ToolApplication& operator=(const ToolApplication&) = delete;

    QCoreApplication* get() const { return app_.get(); }

private:
    int argc_ = 1;
    char name_[6] = "vorlo";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

}  // namespace vorlo::tools
