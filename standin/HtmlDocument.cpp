#include "HtmlDocument.h"

#include "HtmlStubs.h"

#include <oleacc.h>

#include <cwctype>
#include <memory>

namespace StandIn::Html {

namespace {

// What every object of a page shares: its markup, its text and its title.
struct Page {
    std::wstring title;
    std::wstring markup;
    std::wstring text;
};

using PagePtr = std::shared_ptr<const Page>;

// Reference counting, QueryInterface and an IDispatch without type
// information for one object of a page. `Object` names the interfaces it
// answers with a static Answers(iid).
template <class Object, class Interface>
class Dispatch : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || Object::Answers(iid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_count)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG count = InterlockedDecrement(&m_count);
        if (count == 0)
            delete static_cast<Object*>(this);
        return static_cast<ULONG>(count);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    LONG m_count = 1;
};

#define STANDIN_NOT_OFFERED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

// Hands out a new text, or fails on a null out pointer.
HRESULT Give(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

template <class T>
HRESULT Give(T* object, T** out)
{
    if (!out) {
        object->Release();
        return E_POINTER;
    }
    *out = object;
    return S_OK;
}

class Body final : public Dispatch<Body, IHTMLElement> {
public:
    explicit Body(PagePtr page) : m_page(std::move(page)) { }
    static bool Answers(REFIID iid) { return iid == __uuidof(IHTMLElement); }

    HRESULT STDMETHODCALLTYPE get_innerHTML(BSTR* markup) override { return Give(m_page->markup, markup); }
    HRESULT STDMETHODCALLTYPE get_innerText(BSTR* text) override { return Give(m_page->text, text); }
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* name) override { return Give(L"BODY", name); }
    STANDIN_HTML_ELEMENT_STUBS(STANDIN_NOT_OFFERED)

private:
    PagePtr m_page;
};

class Document;

// The document's script object; it keeps its document alive.
class ScriptWindow final : public Dispatch<ScriptWindow, IHTMLWindow2> {
public:
    explicit ScriptWindow(IHTMLDocument2* document) : m_document(document) { m_document->AddRef(); }
    ~ScriptWindow() { m_document->Release(); }
    static bool Answers(REFIID iid)
    {
        return iid == __uuidof(IHTMLWindow2) || iid == __uuidof(IHTMLFramesCollection2);
    }

    HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** document) override
    {
        m_document->AddRef();
        return Give(m_document, document);
    }
    STANDIN_HTML_WINDOW_STUBS(STANDIN_NOT_OFFERED)

private:
    IHTMLDocument2* m_document;
};

class Document final : public Dispatch<Document, IHTMLDocument2> {
public:
    explicit Document(PagePtr page) : m_page(std::move(page)) { }
    static bool Answers(REFIID iid)
    {
        return iid == __uuidof(IHTMLDocument) || iid == __uuidof(IHTMLDocument2);
    }

    HRESULT STDMETHODCALLTYPE get_Script(IDispatch** script) override
    {
        return Give<IDispatch>(new ScriptWindow(this), script);
    }
    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** window) override
    {
        return Give<IHTMLWindow2>(new ScriptWindow(this), window);
    }
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** body) override
    {
        return Give<IHTMLElement>(new Body(m_page), body);
    }
    HRESULT STDMETHODCALLTYPE get_title(BSTR* title) override { return Give(m_page->title, title); }
    STANDIN_HTML_DOCUMENT_STUBS(STANDIN_NOT_OFFERED)

private:
    PagePtr m_page;
};

#undef STANDIN_NOT_OFFERED

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// The tags after which a browser starts a new line.
bool BreaksLine(const std::wstring& tag)
{
    static const wchar_t* const Tags[] = { L"br", L"br/", L"/p", L"/div", L"/li", L"/tr", L"/h1", L"/h2", L"/h3",
        L"/h4", L"/h5", L"/h6" };
    for (const wchar_t* name : Tags)
        if (tag == name)
            return true;
    return false;
}

// The character a reference such as "amp" or "#1025" stands for; 0 when unknown.
wchar_t Reference(const std::wstring& name)
{
    if (name.size() > 1 && name[0] == L'#') {
        const bool hex = name[1] == L'x' || name[1] == L'X';
        const std::wstring digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 5)
            return 0;
        wchar_t* end = nullptr;
        const unsigned long code = std::wcstoul(digits.c_str(), &end, hex ? 16 : 10);
        return *end == 0 && code > 0 && code <= 0xFFFF ? static_cast<wchar_t>(code) : 0;
    }
    static const struct {
        const wchar_t* name;
        wchar_t character;
    } Named[] = { { L"lt", L'<' }, { L"gt", L'>' }, { L"amp", L'&' }, { L"quot", L'"' }, { L"apos", L'\'' },
        { L"nbsp", 0xA0 } };
    for (const auto& entry : Named)
        if (name == entry.name)
            return entry.character;
    return 0;
}

}  // namespace

std::wstring TextOf(const std::wstring& markup)
{
    std::wstring text;
    bool blank = false;  // white space met since the last character written
    auto put = [&](wchar_t c) {
        if (blank && !text.empty() && text.back() != L'\n')
            text += L' ';
        blank = false;
        text += c;
    };
    for (size_t i = 0; i < markup.size(); ++i) {
        const wchar_t c = markup[i];
        if (c == L'<') {
            const size_t end = markup.find(L'>', i);
            if (end == std::wstring::npos)
                break;
            std::wstring tag;
            for (size_t j = i + 1; j < end && !IsBlank(markup[j]); ++j)
                tag += static_cast<wchar_t>(std::towlower(markup[j]));
            if (BreaksLine(tag)) {
                while (!text.empty() && text.back() == L' ')
                    text.pop_back();
                text += L"\r\n";
                blank = false;
            }
            i = end;
        } else if (IsBlank(c)) {
            blank = true;
        } else if (c == L'&') {
            const size_t end = markup.find(L';', i);
            const wchar_t decoded = end == std::wstring::npos ? 0 : Reference(markup.substr(i + 1, end - i - 1));
            if (decoded) {
                put(decoded);
                i = end;
            } else {
                put(c);
            }
        } else {
            put(c);
        }
    }
    const size_t first = text.find_first_not_of(L" \r\n");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \r\n") - first + 1);
}

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

LRESULT DocumentResult(const std::string& title, const std::string& markup, WPARAM wParam)
{
    auto page = std::make_shared<Page>();
    page->title = Wide(title);
    page->markup = Wide(markup);
    page->text = TextOf(page->markup);
    auto* document = new Document(page);
    const LRESULT result = LresultFromObject(__uuidof(IHTMLDocument2), wParam, document);
    document->Release();
    return result > 0 ? result : 0;
}

}  // namespace StandIn::Html
