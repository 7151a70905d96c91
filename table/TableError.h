// The one kind of failure a load reports: a constant message text shown to the user as it is.
#pragma once

#include <exception>

class TableError : public std::exception {
public:
    explicit TableError(const wchar_t* message) : m_message(message) {}
    const wchar_t* Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return "table error"; }

private:
    const wchar_t* m_message;
};

// The messages, exactly as the user sees them.
namespace messages {
inline constexpr const wchar_t* kIllegalFile = L"非法文件!";
inline constexpr const wchar_t* kUnknownType = L"未知数据类型";
inline constexpr const wchar_t* kCannotReadFile = L"无法读取文件!";
inline constexpr const wchar_t* kFileMissing = L"文件不存在!";
inline constexpr const wchar_t* kCannotReadCatalogue = L"无法读取uistring.xml!";
inline constexpr const wchar_t* kCannotParseCatalogue = L"无法解析uistring.xm!";
}  // namespace messages
