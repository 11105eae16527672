#pragma once

#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QRect>

namespace halcyra::test {

// A page of a PDF as seen, at `dpi` dots per inch on white paper (the renderer leaves the paper
// transparent).
inline QImage pageSeen(QPdfDocument& pdf, int page, int dpi = 50)
{
    const QSize size = (pdf.pagePointSize(page) * dpi / 72).toSize();
    QImage paper(size, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, pdf.render(page, size));
    return paper;
}

// Where the ink of an image lies: the smallest rectangle holding every pixel that is not near
// white. Two printings of a page put their content at the same place when their ink boxes meet.
inline QRect inkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace halcyra::test
