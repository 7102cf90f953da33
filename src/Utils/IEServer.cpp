#include "Utils/IEServer.h"

#include <mshtml.h>
#include <objbase.h>
#include <oleacc.h>

#include "Utils/Controls.h"
#include "Utils/Errors.h"
#include "Utils/StringS.h"

namespace Utils::Controls::IEServer {

namespace {

const char* const Method = "Utils::Controls::IEServer::Check";

// How long the control may take to hand out its document: the accessibility
// bridge's own rhythm.
constexpr UINT ObjectTimeout = 1000;

// One reference, released at the end of its scope.
template <class T>
class Reference {
public:
    Reference() = default;
    ~Reference()
    {
        if (m_object)
            m_object->Release();
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    T* operator->() const { return m_object; }
    T* Get() const { return m_object; }
    T** Out() { return &m_object; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_object); }
    T* Detach()
    {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }

private:
    T* m_object = nullptr;
};

[[noreturn]] void NoBody()
{
    const DWORD code = GetLastError();
    throw Error::Method(Method, "Тело текста не получено.") + LastErrorText(code);
}

// A wide text in the calling thread's ANSI code page, up to its first zero.
std::string Narrow(const wchar_t* text)
{
    if (!text)
        return std::string();
    const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(size) - 1);
    return narrow;
}

std::string Read(HWND window, bool markup)
{
    BSTR text = nullptr;
    {
        const Body body = Check(window);
        const HRESULT result = markup ? body.Element()->get_innerHTML(&text) : body.Element()->get_innerText(&text);
        if (FAILED(result))
            text = nullptr;
    }
    const std::string narrow = Narrow(text);
    SysFreeString(text);
    return narrow;
}

}  // namespace

Apartment::Apartment() : m_joined(SUCCEEDED(CoInitialize(nullptr))) { }

Apartment::~Apartment()
{
    if (m_joined)
        CoUninitialize();
}

Body::~Body()
{
    if (m_element)
        m_element->Release();
}

Body Check(HWND window)
{
    Apartment apartment;
    if (!window)
        throw Error::Argument(Method, "Недействительный системный дескриптор.");
    if (!IsWindow(window)) {
        const DWORD code = GetLastError();
        throw Error::Argument(Method, "Отсутсвует указанный \"Internet Explorer_Server\".") + LastErrorText(code);
    }
    char buffer[260] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    std::string className = buffer;
    StringS::UpperA(className);
    std::string wanted = Name(Kind::IEServer);
    StringS::UpperA(wanted);
    if (className.find(wanted) == std::string::npos)
        throw Error::Argument(Method, "Класс не является \"Internet Explorer_Server\".");

    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, RegisterWindowMessageA("WM_HTML_GETOBJECT"), 0, 0, SMTO_ABORTIFHUNG, ObjectTimeout,
        &answer);
    Reference<IHTMLDocument> document;
    if (FAILED(ObjectFromLresult(static_cast<LRESULT>(answer), IID_IHTMLDocument, 0, document.OutVoid()))
        || !document.Get()) {
        const DWORD code = GetLastError();
        throw Error::Method(Method, "Объект не получен.") + LastErrorText(code);
    }
    // Every step to the body must give an object: a missing script window or
    // document is a body not obtained.
    Reference<IDispatch> script;
    if (FAILED(document->get_Script(script.Out())) || !script.Get())
        NoBody();
    Reference<IHTMLWindow2> scriptWindow;
    if (FAILED(script->QueryInterface(IID_IHTMLWindow2, scriptWindow.OutVoid())) || !scriptWindow.Get())
        NoBody();
    Reference<IHTMLDocument2> page;
    if (FAILED(scriptWindow->get_document(page.Out())) || !page.Get())
        NoBody();
    Reference<IHTMLElement> body;
    if (FAILED(page->get_body(body.Out())) || !body.Get())
        NoBody();
    return Body(std::move(apartment), body.Detach());
}

std::string ReadHTML(HWND window) { return Read(window, true); }

std::string ReadText(HWND window) { return Read(window, false); }

}  // namespace Utils::Controls::IEServer
