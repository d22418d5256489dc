#include "shell/file_type.h"
#include "sys/sys_external.h"
#include "sys/sys_registry.h"

namespace {

const uint32_t kAssociationsChanged = 0x08000000;  // SHCNE_ASSOCCHANGED
const uint32_t kItemIdLists = 0;                    // SHCNF_IDLIST

ExternalEntry ShChangeNotify = {"shell32", "SHChangeNotify"};

FileTypeValue TextValue(const Text& path, const Text& text)
{
    FileTypeValue value;
    value.path = path;
    value.text = text;
    return value;
}

bool WriteValue(int root, const Text& path, const FileTypeValue& value)
{
    return value.isNumber ? WriteRegistryValue(root, path, value.number) : WriteRegistryValue(root, path, value.text);
}

}  // namespace

std::vector<FileTypeValue> FileTypeValues(const Text& executablePath, const Text& extensionList,
                                          const Text& iconPath, const Text& description, const Text& classKey)
{
    TextList extensions = SplitText(extensionList, "|");
    Text icon = iconPath.empty() ? executablePath : iconPath;
    Text key = classKey.empty() ? extensionList : classKey;

    std::vector<FileTypeValue> values;
    values.push_back(TextValue(JoinTexts(key, "\\"), description));
    FileTypeValue editFlags;
    editFlags.path = JoinTexts(key, "\\EditFlags");
    editFlags.isNumber = true;
    editFlags.number = 2;
    values.push_back(editFlags);
    values.push_back(TextValue(JoinTexts(key, "\\Shell\\Open\\Command\\"),
                               JoinTexts("\"", executablePath, "\" \"%1\"")));
    values.push_back(TextValue(JoinTexts(key, "\\DefaultIcon\\"), JoinTexts(icon, ",0")));
    for (int position = 1; position <= ListCount(extensions); ++position)
        values.push_back(TextValue(JoinTexts(".", ListAt(extensions, position), "\\"), key));
    return values;
}

Text UserClassesPath(const Text& path) { return JoinTexts("Software\\Classes\\", path); }

void RegisterFileType(const Text& executablePath, const Text& extensionList, const Text& iconPath,
                      const Text& description, const Text& classKey)
{
    for (const FileTypeValue& value :
         FileTypeValues(executablePath, extensionList, iconPath, description, classKey)) {
        // A standard user cannot create keys under the machine's classes; the user's own classes
        // are what the classes root shows that user, so the association still works.
        if (!WriteValue(ClassesRoot, value.path, value))
            WriteValue(CurrentUser, UserClassesPath(value.path), value);
    }
    ExternalCall<void(__stdcall*)(long, unsigned, const void*, const void*)>(ShChangeNotify, kAssociationsChanged,
                                                                              kItemIdLists, nullptr, nullptr);
}
