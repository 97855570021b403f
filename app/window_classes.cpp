#include "app/window_classes.h"

#include <initializer_list>

#include "app/main_window.h"
#include "common/window_class.h"
#include "menu/menu_window.h"
#include "menu/search_box.h"
#include "menu/search_list.h"
#include "render/options/color_control.h"
#include "render/options/icon_button.h"
#include "render/options/icon_control.h"
#include "render/options/preview.h"

void RegisterWindowClasses(HINSTANCE instance)
{
    for (TWindowClass (*record)() :
         {SearchBoxWindowClass, SearchListWindowClass, IconControlWindowClass,
          ColorControlWindowClass, SampleWindowClass, IconButtonWindowClass, MenuWindowClass,
          MainWindowClass})
        RegisterWindowClass(record(), instance);
}
