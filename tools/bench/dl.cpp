// dl.exe --connections N URL OUT: one download through the engine, for the
// benchmark. Exit code 0 when the file arrived whole.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>

#include "updater/download/download_engine.h"

namespace {

std::promise<void> ended;

int OnEvent(int code, int, int, int, int)
{
    if (code == 传送常量::下载上传结束)
        ended.set_value();
    return kSkipDownload;  // the benchmark never overwrites a file
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || std::strcmp(argv[1], "--connections") != 0) {
        std::fprintf(stderr, "usage: dl --connections N URL OUT\n");
        return 2;
    }
    TaskParam param;
    param.connections = std::atoi(argv[2]);
    param.address = argv[3];
    param.savePath = argv[4];
    param.eventRoutine = OnEvent;
    Download download;
    StartTask(download, param);
    ended.get_future().wait();
    bool complete = IsTaskComplete(download);
    ReleaseDownload(download);
    return complete ? 0 : 1;
}
