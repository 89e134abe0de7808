#include "setup/ConsolePrompts.h"

#include <cstdio>

namespace vorlo {

void ConsolePrompts::show(const SetupMessage& message) {
    const bool isError = message.icon == SetupMessage::Icon::Error;
    failed_ = failed_ || isError;
    const QByteArray line = (message.caption + QStringLiteral(": ") + message.text + QLatin1Char('\n')).toLocal8Bit();
    std::fputs(line.constData(), isError ? stderr : stdout);
    std::fflush(isError ? stderr : stdout);
}

bool ConsolePrompts::ask(const SetupMessage& question) {
    const QByteArray line = (question.caption + QStringLiteral(": ") + question.text +
                             (desktopShortcut_ ? QStringLiteral(" Yes\n") : QStringLiteral(" No\n")))
                                .toLocal8Bit();
    std::fputs(line.constData(), stdout);
    return desktopShortcut_;
}

}  // namespace vorlo
