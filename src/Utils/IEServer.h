#pragma once
// Reading the page of a browser control ("Internet Explorer_Server"): the
// control hands out its document through the registered message
// "WM_HTML_GETOBJECT"; the document's script window leads to the document
// whose body element gives the page's markup and text.
//
//   Check(window)    -> the body element of the control's page; the calling
//                       thread is joined to a single-threaded apartment
//                       until the element is released.
//   ReadHTML(window) -> the body's inner HTML, in the thread's ANSI code page.
//   ReadText(window) -> the body's inner text, in the thread's ANSI code page.
//
// Every failure throws an error text. A control that does not answer within
// one second, or is hung, is reported as "Объект не получен.".
#include <windows.h>

#include <string>
#include <utility>

struct IHTMLElement;

namespace Utils::Controls::IEServer {

// The COM apartment of the calling thread for one read: joined on
// construction, left again on destruction when the join counted.
class Apartment {
public:
    Apartment();
    ~Apartment();
    Apartment(Apartment&& other) noexcept : m_joined(other.m_joined) { other.m_joined = false; }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    Apartment& operator=(Apartment&&) = delete;

private:
    bool m_joined;
};

// A page's body element with the apartment it was obtained in; releasing
// it releases the element first, then leaves the apartment.
class Body {
public:
    Body(Apartment apartment, IHTMLElement* element) : m_apartment(std::move(apartment)), m_element(element) { }
    ~Body();
    Body(Body&& other) noexcept : m_apartment(std::move(other.m_apartment)), m_element(other.m_element)
    {
        other.m_element = nullptr;
    }
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;
    Body& operator=(Body&&) = delete;

    IHTMLElement* Element() const { return m_element; }

private:
    Apartment m_apartment;
    IHTMLElement* m_element;
};

Body Check(HWND window);
std::string ReadHTML(HWND window);
std::string ReadText(HWND window);

}  // namespace Utils::Controls::IEServer
