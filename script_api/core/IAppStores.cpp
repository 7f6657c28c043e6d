// IApp functions on the option store and the translation table, with the
// walks that hand every entry to a script callback.

#include "core/app/Application.h"
#include "core/io/DataBag.h"
#include "core/script/lua/LuaStackFunction.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/core/IAppFunctions.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using LuaPlus::LuaStackObject;
using LuaPlus::LuaState;

namespace
{

// The two parts of a composite key "[x][y]": the text after the first "["
// up to the next "]", then after the next "[" up to the next "]".
std::pair<std::wstring, std::wstring> SplitKey(const std::wstring& key)
{
    std::wstring parts[2];
    size_t position = 0;
    for (std::wstring& part : parts)
    {
        const size_t open = key.find(L'[', position);
        if (open == std::wstring::npos)
            break;
        const size_t close = key.find(L']', open + 1);
        part = key.substr(open + 1, close == std::wstring::npos ? std::wstring::npos : close - open - 1);
        if (close == std::wstring::npos)
            break;
        position = close + 1;
    }
    return {parts[0], parts[1]};
}

// Calls the callback (a function, or the name of a global function) with
// the two key parts, the text and the user data for every entry in key
// order, until it returns true. The walk goes over a copy of the entries,
// so a callback that changes the store cannot break it.
void ForEachEntry(const CDataBag& bag, const LuaStackObject& callback, const LuaStackObject& userData)
{
    const LuaPlus::LuaStackFunction<bool> function(callback);
    const std::vector<std::pair<std::wstring, std::wstring>> entries(bag.begin(), bag.end());
    for (const auto& [key, text] : entries)
    {
        const auto [x, y] = SplitKey(key);
        if (function(std::wstring_view(x), std::wstring_view(y), std::wstring_view(text), userData))
            break;
    }
}

// Options.

bool loadOptions(LuaState*, const std::wstring& file)
{
    return GetScriptApplication().LoadOptions(file);
}

// format: "BINARY", "COMPRESSED" or the encoding of a text archive.
bool saveOptions(LuaState*, const std::wstring& file, const std::string& format)
{
    return GetScriptApplication().SaveOptions(file, format);
}

bool clearOptions(LuaState*)
{
    return GetScriptApplication().ClearOptions();
}

bool clearOption(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().ClearOption(section, key);
}

bool optionExists(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().OptionExists(section, key);
}

std::wstring getOption(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().GetOption(section, key);
}

void setOption(LuaState*, const std::wstring& section, const std::wstring& key, const std::wstring& text)
{
    GetScriptApplication().SetOption(section, key, text);
}

bool getOptionBool(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().GetOptionBool(section, key);
}

void setOptionBool(LuaState*, const std::wstring& section, const std::wstring& key, bool value)
{
    GetScriptApplication().SetOptionBool(section, key, value);
}

int32_t getOptionInt(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().GetOptionInt(section, key);
}

void setOptionInt(LuaState*, const std::wstring& section, const std::wstring& key, int32_t value)
{
    GetScriptApplication().SetOptionInt(section, key, value);
}

float getOptionFloat(LuaState*, const std::wstring& section, const std::wstring& key)
{
    return GetScriptApplication().GetOptionFloat(section, key);
}

void setOptionFloat(LuaState*, const std::wstring& section, const std::wstring& key, float value)
{
    GetScriptApplication().SetOptionFloat(section, key, value);
}

void forEachOption(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    ForEachEntry(GetScriptApplication().GetOptions(), callback, userData);
}

// Translations.

std::wstring getTranslatorFilename(LuaState*)
{
    return GetScriptApplication().GetTranslatorFilename();
}

bool loadTranslations(LuaState*, const std::wstring& file)
{
    return GetScriptApplication().LoadTranslations(file);
}

bool saveTranslations(LuaState*, const std::wstring& file, const std::string& format)
{
    return GetScriptApplication().SaveTranslations(file, format);
}

bool setTranslation(LuaState*, const std::wstring& section, const std::wstring& code,
                    const std::wstring& text)
{
    CLanguage& language = GetScriptApplication().GetLanguage();
    language.Set(section, code, text);
    return language.Exists(section, code);
}

bool clearTranslations(LuaState*)
{
    CLanguage& language = GetScriptApplication().GetLanguage();
    language.Clear();
    return language.GetCount() == 0;
}

bool clearTranslation(LuaState*, const std::wstring& section, const std::wstring& code)
{
    CLanguage& language = GetScriptApplication().GetLanguage();
    language.Delete(section, code);
    return !language.Exists(section, code);
}

std::wstring translate(LuaState*, const std::wstring& section, const std::wstring& code)
{
    return GetScriptApplication().Translate(L"#" + section + L"#" + code);
}

// code: "#section#code".
std::wstring translateCode(LuaState*, const std::wstring& code)
{
    return GetScriptApplication().Translate(code);
}

void forEachTranslation(LuaState*, const LuaStackObject& callback, const LuaStackObject& userData)
{
    ForEachEntry(GetScriptApplication().GetLanguage().GetDataBag(), callback, userData);
}

} // namespace

void RegisterIAppOptionFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("loadOptions", &loadOptions);
    table.RegisterHelper("saveOptions", &saveOptions);
    table.RegisterHelper("clearOptions", &clearOptions);
    table.RegisterHelper("clearOption", &clearOption);
    table.RegisterHelper("optionExists", &optionExists);
    table.RegisterHelper("getOption", &getOption);
    table.RegisterHelper("setOption", &setOption);
    table.RegisterHelper("getOptionBool", &getOptionBool);
    table.RegisterHelper("setOptionBool", &setOptionBool);
    table.RegisterHelper("getOptionInt", &getOptionInt);
    table.RegisterHelper("setOptionInt", &setOptionInt);
    table.RegisterHelper("getOptionFloat", &getOptionFloat);
    table.RegisterHelper("setOptionFloat", &setOptionFloat);
    table.RegisterHelper("forEachOption", &forEachOption);
}

void RegisterIAppTranslationFunctions(CScriptMetaTable& table)
{
    table.RegisterHelper("getTranslatorFilename", &getTranslatorFilename);
    table.RegisterHelper("loadTranslations", &loadTranslations);
    table.RegisterHelper("loadSingleTranslation", &loadTranslations);
    table.RegisterHelper("saveTranslations", &saveTranslations);
    table.RegisterHelper("setTranslation", &setTranslation);
    table.RegisterHelper("clearTranslations", &clearTranslations);
    table.RegisterHelper("clearTranslation", &clearTranslation);
    table.RegisterHelper("translate", &translate);
    table.RegisterHelper("translateCode", &translateCode);
    table.RegisterHelper("forEachTranslation", &forEachTranslation);
}
