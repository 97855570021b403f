#include <windows.h>

#include "service/session_service.h"

int wmain()
{
    SERVICE_TABLE_ENTRYW dispatchTable[] = {
        {const_cast<wchar_t *>(kServiceHandlerName), ServiceMain}, {nullptr, nullptr}};
    StartServiceCtrlDispatcherW(dispatchTable);
    return 0;
}
