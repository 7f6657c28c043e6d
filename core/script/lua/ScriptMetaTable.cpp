#include "core/script/lua/ScriptMetaTable.h"

CScriptMetaTable::CScriptMetaTable(LuaPlus::LuaState* state, const char* name)
    : m_state(state), m_name(name ? name : ""), m_scriptName(m_name)
{
    LuaPlus::LuaObject globals = state->GetGlobals();
    if (!m_name.empty())
        m_table = globals.Get(m_name);
    if (!m_table.IsTable())
    {
        m_table.AssignNewTable(state);
        if (!m_name.empty())
            globals.Set(m_name, m_table);
    }
    m_table.Set("__index", m_table);
}

void CScriptMetaTable::SetGlobalObject(void* object, const char* name)
{
    lua_State* L = m_state->GetCState();
    LuaPlus::LuaStackRestore restore(L);
    *static_cast<void**>(lua_newuserdata(L, sizeof(void*))) = object;
    LuaPlus::LuaObject box(m_state, -1);
    box.SetMetaTable(m_table);
    m_state->GetGlobals().Set(name, box);
}

void CScriptMetaTable::Seal()
{
    m_table.Set("__metatable", "Metatable is readonly");
}

std::string CScriptMetaTable::QualifiedName(const char* name) const
{
    if (m_scriptName.empty())
        return name;
    return m_scriptName + "::" + name;
}

std::string CScriptMetaTable::GuardMessage(const std::string& qualifiedName, unsigned flags) const
{
    const char* const kText = "] Can only be called from the main Lua state.";
    if (flags & LuaPlus::kMainStateOnly)
        return "[" + qualifiedName + kText;
    if (m_defaultFlags & LuaPlus::kMainStateOnly)
        return "[" + m_scriptName + kText;
    return std::string();
}
