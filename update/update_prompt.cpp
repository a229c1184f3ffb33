#include "update/update_prompt.h"

std::string BuildUpdatePrompt(std::string_view versionText, std::string_view updateNotes)
{
    return "发现有新版本可以更新！\r\n\r\n版本号：" + std::string(versionText) + "\r\n下载说明：" +
           std::string(updateNotes);
}
