#include "capture/clipboard_save.h"

#include "app/program_state.h"
#include "capture/clipboard.h"
#include "capture/date_time.h"
#include "capture/file_writer.h"
#include "capture/input_box.h"
#include "capture/typed_name.h"

void SaveClipboard(HWND owner, bool nameByUser)
{
    Text name;
    if (nameByUser) {
        if (!PromptForText(owner, "请输入自定义文件名,不包含后缀", "请输入要保存的文件名(不包含后缀)", name))
            return;
        // Such a name would put the text where the user never finds it.
        if (!IsSafeTypedName(name)) return;
    } else {
        name = FormatDateTime(LocalDateTimeNow());
    }
    // The clipboard is read only now, after the input box has closed.
    SaveClipboardToFile(SaveDirectory() + "\\" + name + ".txt");
}

void SaveClipboardToFile(const Text& path)
{
    Text text;
    switch (ReadClipboardText(text)) {
    case ClipboardText::Read:
        WriteBytesToFile(path, BytesOf(text));
        break;
    case ClipboardText::Absent:
        // Nothing to save must not empty a file the user already has.
        WriteBytesToNewFile(path, BytesOf(text));
        break;
    case ClipboardText::Unknown:
        break;
    }
}
